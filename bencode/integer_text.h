#pragma once
// Conversion of an integer's text, as it stands between "i" and "e".

#include <cstdint>
#include <optional>
#include <string_view>

namespace seedlens {

// Accepts an optional single leading "-" followed by one or more digits,
// leading zeros allowed, within the signed 64-bit range.
std::optional<std::int64_t> ParseInt64(std::string_view Text);

}  // namespace seedlens
