#pragma once
// Windows file times (100-nanosecond intervals since 1601-01-01 00:00 UTC)
// and calendar times, both in UTC, without any time-zone shift.

#include <cstdint>
#include <optional>

namespace seedlens::platform {

struct CalendarTime {
    int Year;
    int Month;
    int Day;
    int Hour;
    int Minute;
    int Second;
    int Milliseconds;
};

// Nothing for a file time the platform cannot split (at or above 2^63).
std::optional<CalendarTime> FileTimeToCalendar(std::uint64_t FileTime);
// Nothing for a calendar time outside 1601-01-01 to 30827-12-31.
std::optional<std::uint64_t> CalendarToFileTime(const CalendarTime& Time);

}  // namespace seedlens::platform
