#include <time.h>

#include "platform/local_time.h"

namespace seedlens::platform {

namespace {
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kSeconds1601To1970 = 11'644'473'600;
}  // namespace

std::optional<LocalTime> ToLocalTime(std::int64_t FileTime) {
    // Floor division: a file time before 1601 still lands on its own second.
    std::int64_t seconds = FileTime / kTicksPerSecond;
    if (FileTime % kTicksPerSecond < 0) --seconds;
    const auto moment = static_cast<time_t>(seconds - kSeconds1601To1970);
    tm local{};
    if (localtime_r(&moment, &local) == nullptr) return std::nullopt;
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min,         local.tm_sec,     static_cast<int>(local.tm_gmtoff)};
}

}  // namespace seedlens::platform
