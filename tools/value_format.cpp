#include "tools/value_format.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/civil_calendar.h"
#include "platform/utf_codec.h"

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

void AppendUnicodeEscape(std::string& Out, unsigned Code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", Code);
    Out += escape;
}

// The code of a well-formed character that JSON should carry escaped: C0,
// DEL and C1 controls, which a terminal may obey, and the line and paragraph
// separators, which end a line for some readers of JSON Lines.
std::optional<unsigned> EscapedCharacter(std::string_view Character) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(Character[i]); };
    if (Character.size() == 1 && (at(0) < 0x20 || at(0) == 0x7F)) return at(0);
    if (Character.size() == 2 && at(0) == 0xC2 && at(1) <= 0x9F) return at(1);
    if (Character.size() == 3 && at(0) == 0xE2 && at(1) == 0x80 && (at(2) == 0xA8 || at(2) == 0xA9))
        return 0x2000 + (at(2) - 0x80);
    return std::nullopt;
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

std::string JsonString(std::string_view Bytes) {
    std::string out = "\"";
    while (!Bytes.empty()) {
        const auto lead = static_cast<unsigned char>(Bytes[0]);
        const std::size_t length = platform::WellFormedUtf8Length(Bytes);
        if (length == 0) {
            // A byte outside UTF-8, as Python's surrogateescape reads it back.
            AppendUnicodeEscape(out, 0xDC00 + lead);
            Bytes.remove_prefix(1);
            continue;
        }
        const std::string_view character = Bytes.substr(0, length);
        Bytes.remove_prefix(length);
        switch (lead) {
            case '"': out += "\\\""; continue;
            case '\\': out += "\\\\"; continue;
            case '\n': out += "\\n"; continue;
            case '\r': out += "\\r"; continue;
            case '\t': out += "\\t"; continue;
            default: break;
        }
        if (const auto code = EscapedCharacter(character)) AppendUnicodeEscape(out, *code);
        else out += character;
    }
    return out + "\"";
}

bool IsUtf8(std::string_view Bytes) {
    while (!Bytes.empty()) {
        const std::size_t length = platform::WellFormedUtf8Length(Bytes);
        if (length == 0) return false;
        Bytes.remove_prefix(length);
    }
    return true;
}

std::string HexBytes(std::string_view Bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(Bytes.size() * 2);
    for (const char c : Bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
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
