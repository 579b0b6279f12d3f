#include "bencode/integer_text.h"

#include <limits>

namespace seedlens {

std::optional<std::int64_t> ParseInt64(std::string_view Text) {
    const bool negative = !Text.empty() && Text.front() == '-';
    if (negative) Text.remove_prefix(1);
    if (Text.empty()) return std::nullopt;

    // Up to 18 digits cannot overflow: the common case needs no checks.
    if (Text.size() <= 18) {
        std::uint64_t magnitude = 0;
        for (char c : Text) {
            if (c < '0' || c > '9') return std::nullopt;
            magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        }
        return negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    }

    // Accumulate the magnitude unsigned; the negative range is one larger.
    const std::uint64_t limit = negative
        ? static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1
        : static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t magnitude = 0;
    for (char c : Text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (magnitude > (limit - digit) / 10) return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) return static_cast<std::int64_t>(magnitude);
    // Two's complement negation, defined for the whole range.
    return static_cast<std::int64_t>(~magnitude + 1);
}

}  // namespace seedlens
