#include "torrent/creation_date.h"

#include "platform/civil_calendar.h"
#include "platform/file_time.h"

namespace seedlens {

namespace {
using platform::DaysFromCivil;

constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kTicksPerMillisecond = 10'000;
constexpr std::int64_t kFileTimeOf1970 = 116'444'736'000'000'000;  // 1970 in 100 ns since 1601
constexpr std::int64_t kFirstSecond = DaysFromCivil(1601, 1, 1) * kSecondsPerDay;
constexpr std::int64_t kLastSecond = DaysFromCivil(30828, 1, 1) * kSecondsPerDay - 1;
constexpr std::int64_t kLastMillisecond = kLastSecond * 1000 + 999;
constexpr std::int64_t kDateTimeEpochDay = DaysFromCivil(1899, 12, 30);

TDateTime FileTimeToDateTime(std::uint64_t FileTime) {
    const auto time = platform::FileTimeToCalendar(FileTime);
    if (!time) return 0;
    // Days as a linear count (negative before 1899-12-30), time of day as
    // the fraction added to it.
    const std::int64_t days = DaysFromCivil(time->Year, static_cast<unsigned>(time->Month),
                                            static_cast<unsigned>(time->Day)) - kDateTimeEpochDay;
    const std::int64_t milliseconds =
        ((time->Hour * 60LL + time->Minute) * 60 + time->Second) * 1000 + time->Milliseconds;
    return static_cast<double>(days) + static_cast<double>(milliseconds) / 86'400'000.0;
}
}  // namespace

TDateTime CreationDateToDateTime(std::int64_t Value) {
    // Each range is checked before multiplying, so nothing can overflow.
    if (Value >= kFirstSecond && Value <= kLastSecond)
        return FileTimeToDateTime(static_cast<std::uint64_t>(Value * kTicksPerSecond + kFileTimeOf1970));
    // Past the last date as seconds: several creators wrote milliseconds.
    // These are exactly the values whose floor(Value / 1000) is in range.
    if (Value > kLastSecond && Value <= kLastMillisecond)
        return FileTimeToDateTime(static_cast<std::uint64_t>(Value * kTicksPerMillisecond + kFileTimeOf1970));
    return 0;
}

}  // namespace seedlens
