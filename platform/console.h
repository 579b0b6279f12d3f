#pragma once
// The standard streams: whether one is a terminal (progress and escaped
// control characters are for people only), and writing to one with every
// failure seen.

#include <optional>
#include <string>
#include <string_view>

namespace seedlens::platform {

enum class Stream { Output, Error };
bool IsTerminal(Stream Which);

// Writes all of Bytes; the system's reason when that fails (a full disk,
// a closed pipe while SIGPIPE is ignored).
std::optional<std::string> WriteAll(Stream Which, std::string_view Bytes);

}  // namespace seedlens::platform
