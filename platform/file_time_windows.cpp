#include <windows.h>

#include "platform/file_time.h"

namespace seedlens::platform {

std::optional<CalendarTime> FileTimeToCalendar(std::uint64_t FileTime) {
    FILETIME in;
    in.dwLowDateTime = static_cast<DWORD>(FileTime);
    in.dwHighDateTime = static_cast<DWORD>(FileTime >> 32);
    SYSTEMTIME out;
    if (!FileTimeToSystemTime(&in, &out)) return std::nullopt;
    return CalendarTime{out.wYear, out.wMonth, out.wDay, out.wHour, out.wMinute, out.wSecond, out.wMilliseconds};
}

std::optional<std::uint64_t> CalendarToFileTime(const CalendarTime& Time) {
    if (Time.Year < 1601 || Time.Year > 30827) return std::nullopt;
    SYSTEMTIME in{};
    in.wYear = static_cast<WORD>(Time.Year);
    in.wMonth = static_cast<WORD>(Time.Month);
    in.wDay = static_cast<WORD>(Time.Day);
    in.wHour = static_cast<WORD>(Time.Hour);
    in.wMinute = static_cast<WORD>(Time.Minute);
    in.wSecond = static_cast<WORD>(Time.Second);
    in.wMilliseconds = static_cast<WORD>(Time.Milliseconds);
    FILETIME out;
    if (!SystemTimeToFileTime(&in, &out)) return std::nullopt;
    return (static_cast<std::uint64_t>(out.dwHighDateTime) << 32) | out.dwLowDateTime;
}

}  // namespace seedlens::platform
