#include "platform/civil_calendar.h"
#include "platform/file_time.h"

namespace seedlens::platform {

namespace {
constexpr std::uint64_t kTicksPerMillisecond = 10'000;
constexpr std::uint64_t kMillisecondsPerDay = 86'400'000;
constexpr std::int64_t kDay1601 = DaysFromCivil(1601, 1, 1);
constexpr std::uint64_t kFirstUnsplittable = 0x8000000000000000ULL;
}  // namespace

std::optional<CalendarTime> FileTimeToCalendar(std::uint64_t FileTime) {
    if (FileTime >= kFirstUnsplittable) return std::nullopt;
    const std::uint64_t milliseconds = FileTime / kTicksPerMillisecond;
    const auto days = static_cast<std::int64_t>(milliseconds / kMillisecondsPerDay);
    auto ofDay = static_cast<int>(milliseconds % kMillisecondsPerDay);
    const CivilDate date = CivilFromDays(kDay1601 + days);
    CalendarTime time{};
    time.Year = static_cast<int>(date.Year);
    time.Month = static_cast<int>(date.Month);
    time.Day = static_cast<int>(date.Day);
    time.Milliseconds = ofDay % 1000;
    ofDay /= 1000;
    time.Second = ofDay % 60;
    ofDay /= 60;
    time.Minute = ofDay % 60;
    time.Hour = ofDay / 60;
    return time;
}

std::optional<std::uint64_t> CalendarToFileTime(const CalendarTime& Time) {
    if (Time.Year < 1601 || Time.Year > 30827 || Time.Month < 1 || Time.Month > 12 || Time.Day < 1 ||
        Time.Hour < 0 || Time.Hour > 23 || Time.Minute < 0 || Time.Minute > 59 || Time.Second < 0 ||
        Time.Second > 59 || Time.Milliseconds < 0 || Time.Milliseconds > 999)
        return std::nullopt;
    const CivilDate check = CivilFromDays(DaysFromCivil(Time.Year, static_cast<unsigned>(Time.Month),
                                                        static_cast<unsigned>(Time.Day)));
    if (static_cast<int>(check.Day) != Time.Day) return std::nullopt;  // 31 April and the like
    const auto days = static_cast<std::uint64_t>(
        DaysFromCivil(Time.Year, static_cast<unsigned>(Time.Month), static_cast<unsigned>(Time.Day)) - kDay1601);
    const std::uint64_t milliseconds =
        days * kMillisecondsPerDay +
        static_cast<std::uint64_t>(((Time.Hour * 60 + Time.Minute) * 60 + Time.Second) * 1000 + Time.Milliseconds);
    return milliseconds * kTicksPerMillisecond;
}

}  // namespace seedlens::platform
