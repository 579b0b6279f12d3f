#include "tools/value_format.h"

#include <cstdio>

#include "platform/civil_calendar.h"

namespace seedlens::tool {

std::string HumanSize(std::int64_t Bytes) {
    static const char* const kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    if (Bytes < 1024 && Bytes > -1024) return std::to_string(Bytes) + " B";
    double value = static_cast<double>(Bytes);
    int unit = 0;
    while ((value >= 1024 || value <= -1024) && unit < 6) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    return text;
}

std::string IsoDate(std::int64_t FileTime) {
    constexpr std::int64_t kTicksPerSecond = 10'000'000;
    const std::int64_t seconds = FileTime / kTicksPerSecond;
    const std::int64_t days = seconds / 86'400;
    const std::int64_t ofDay = seconds % 86'400;
    const auto date = platform::CivilFromDays(days + platform::DaysFromCivil(1601, 1, 1));
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(date.Year),
                  date.Month, date.Day, static_cast<long long>(ofDay / 3600), static_cast<long long>(ofDay / 60 % 60),
                  static_cast<long long>(ofDay % 60));
    return text;
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
