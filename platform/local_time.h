#pragma once
// A moment as the clock on the wall shows it here, with the offset from UTC
// in force then (summer time included), for dates shown to people.

#include <cstdint>
#include <optional>

namespace seedlens::platform {

struct LocalTime {
    int Year;
    int Month;
    int Day;
    int Hour;
    int Minute;
    int Second;
    int OffsetSeconds;  // local minus UTC
};

// The local time of a file time (100 ns since 1601-01-01 UTC), to the
// second; nothing when the platform cannot convert it.
std::optional<LocalTime> ToLocalTime(std::int64_t FileTime);

}  // namespace seedlens::platform
