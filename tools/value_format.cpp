#include "tools/value_format.h"

#include <cmath>
#include <cstdio>

#include "platform/civil_calendar.h"

namespace seedlens::tool {

namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;

// Rounds toward minus infinity, so that times before 1601 keep their
// seconds and fraction positive.
std::int64_t FloorDiv(std::int64_t Value, std::int64_t Divisor) {
    return Value / Divisor - (Value % Divisor < 0 ? 1 : 0);
}

// ".091" for milliseconds, ".091234" for microseconds, ".0912345" for the
// 100 ns a file time can hold; nothing for a whole second.
std::string Fraction(std::int64_t FileTime) {
    const std::int64_t ticks = FileTime - FloorDiv(FileTime, kTicksPerSecond) * kTicksPerSecond;
    char text[32];
    if (ticks == 0) return "";
    if (ticks % 10'000 == 0)
        std::snprintf(text, sizeof text, ".%03lld", static_cast<long long>(ticks / 10'000));
    else if (ticks % 10 == 0)
        std::snprintf(text, sizeof text, ".%06lld", static_cast<long long>(ticks / 10));
    else
        std::snprintf(text, sizeof text, ".%07lld", static_cast<long long>(ticks));
    return text;
}

}  // namespace

std::string HumanSize(std::int64_t Bytes) {
    static const char* const kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    if (Bytes < 1024 && Bytes > -1024) return std::to_string(Bytes) + " B";
    double value = static_cast<double>(Bytes);
    int unit = 0;
    // The unit is chosen on the figure as printed: 1023.96 KiB would read "1024.0 KiB".
    while (std::abs(std::round(value * 10) / 10) >= 1024 && unit < 6) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}

std::string IsoDate(std::int64_t FileTime) {
    const std::int64_t seconds = FloorDiv(FileTime, kTicksPerSecond);
    const std::int64_t days = FloorDiv(seconds, 86'400);
    const std::int64_t ofDay = seconds - days * 86'400;
    const auto date = platform::CivilFromDays(days + platform::DaysFromCivil(1601, 1, 1));
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lld", static_cast<long long>(date.Year),
                  date.Month, date.Day, static_cast<long long>(ofDay / 3600), static_cast<long long>(ofDay / 60 % 60),
                  static_cast<long long>(ofDay % 60));
    return text + Fraction(FileTime) + "Z";
}

std::string LocalDate(const platform::LocalTime& Local, std::int64_t FileTime) {
    const int offset = Local.OffsetSeconds < 0 ? -Local.OffsetSeconds : Local.OffsetSeconds;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", Local.Year, Local.Month, Local.Day, Local.Hour,
                  Local.Minute, Local.Second);
    char zone[24];
    // Old local mean times have offsets in seconds: shown rather than rounded away.
    if (offset % 60 != 0)
        std::snprintf(zone, sizeof zone, " %c%02d:%02d:%02d", Local.OffsetSeconds < 0 ? '-' : '+', offset / 3600,
                      offset / 60 % 60, offset % 60);
    else
        std::snprintf(zone, sizeof zone, " %c%02d:%02d", Local.OffsetSeconds < 0 ? '-' : '+', offset / 3600,
                      offset / 60 % 60);
    return text + Fraction(FileTime) + zone;
}

std::string JsonString(std::string_view Utf8) {
    std::string out = "\"";
    for (char c : Utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string CsvField(std::string_view Utf8) {
    if (Utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(Utf8);
    std::string out = "\"";
    for (char c : Utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace seedlens::tool
