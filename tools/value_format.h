#pragma once
// Values for people and for scripts.

#include <cstdint>
#include <string>
#include <string_view>

namespace seedlens::tool {

// "734.0 MiB"; bytes below 1 KiB as "512 B".
std::string HumanSize(std::int64_t Bytes);
// A file time (100 ns since 1601) as ISO 8601 UTC, "2023-11-14T22:13:20Z".
std::string IsoDate(std::int64_t FileTime);
std::string JsonString(std::string_view Utf8);
std::string CsvField(std::string_view Utf8);

}  // namespace seedlens::tool
