#pragma once
// Values for people and for scripts.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/local_time.h"

namespace seedlens::tool {

// In the unit that reads well once rounded: "734.0 MiB", "1.0 MiB" for
// 1048575 bytes; below 1 KiB as "512 B".
std::string HumanSize(std::int64_t Bytes);
// A file time (100 ns since 1601) as ISO 8601 UTC: "2023-11-14T22:13:20Z",
// with a fraction only when the time has one ("...:05.091Z").
std::string IsoDate(std::int64_t FileTime);
// A local time for people, "2013-12-17 20:48:21 +01:00", with the fraction
// of FileTime when it has one.
std::string LocalDate(const platform::LocalTime& Local, std::int64_t FileTime);
// A JSON string that any JSON reader takes: controls (C0, DEL, C1) and
// U+2028/U+2029 escaped, and each byte outside well-formed UTF-8 (a POSIX
// file name may hold any) as the lone surrogate U+DC80 + (byte - 0x80),
// which Python's os.fsencode turns back into that byte.
std::string JsonString(std::string_view Bytes);
bool IsUtf8(std::string_view Bytes);
// Lowercase hexadecimal, two digits a byte.
std::string HexBytes(std::string_view Bytes);
// A CSV cell, quoted when it holds a comma, a quote or a line break; its
// bytes are kept as they are.
std::string CsvField(std::string_view Utf8);

}  // namespace seedlens::tool
