#include <windows.h>

#include "platform/local_time.h"

namespace seedlens::platform {

namespace {
constexpr std::int64_t kTicksPerSecond = 10'000'000;

FILETIME Split(std::uint64_t Ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(Ticks);
    time.dwHighDateTime = static_cast<DWORD>(Ticks >> 32);
    return time;
}

std::int64_t Joined(const FILETIME& Time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime);
}
}  // namespace

std::optional<LocalTime> ToLocalTime(std::int64_t FileTime) {
    if (FileTime < 0) return std::nullopt;
    // Whole seconds: the caller shows the fraction from the file time itself.
    const std::int64_t whole = FileTime - FileTime % kTicksPerSecond;
    const FILETIME utcTime = Split(static_cast<std::uint64_t>(whole));
    SYSTEMTIME utc;
    SYSTEMTIME local;
    FILETIME localTime;
    // The time-zone rules in force on that date, not today's offset.
    if (!FileTimeToSystemTime(&utcTime, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ||
        !SystemTimeToFileTime(&local, &localTime))
        return std::nullopt;
    const auto offset = static_cast<int>((Joined(localTime) - whole) / kTicksPerSecond);
    return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, offset};
}

}  // namespace seedlens::platform
