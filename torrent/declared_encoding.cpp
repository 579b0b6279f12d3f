#include "torrent/declared_encoding.h"

#include <algorithm>
#include <array>

#include "platform/code_pages.h"
#include "torrent/encoding_labels_table.h"

namespace seedlens {

namespace {

bool IsAsciiWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

std::optional<std::uint32_t> DeclaredCodePage(std::string_view Encoding) {
    // Browsers match a declared name the same way: surrounding ASCII
    // whitespace does not count, nor does ASCII letter case.
    while (!Encoding.empty() && IsAsciiWhitespace(Encoding.front())) Encoding.remove_prefix(1);
    while (!Encoding.empty() && IsAsciiWhitespace(Encoding.back())) Encoding.remove_suffix(1);
    if (Encoding.empty() || Encoding.size() > kLongestEncodingLabel) return std::nullopt;
    std::array<char, kLongestEncodingLabel> lowered{};
    std::transform(Encoding.begin(), Encoding.end(), lowered.begin(), AsciiLower);
    const std::string_view label(lowered.data(), Encoding.size());

    const auto* const end = std::end(kEncodingLabels);
    const auto* found = std::lower_bound(std::begin(kEncodingLabels), end, label,
                                         [](const EncodingLabel& Known, std::string_view Wanted) { return Known.Label < Wanted; });
    if (found == end || found->Label != label) return std::nullopt;
    return found->CodePage;
}

std::optional<std::string> CodePageToUTF8(std::string_view Bytes, std::uint32_t CodePage) {
    const std::string_view untilZero = Bytes.substr(0, Bytes.find('\0'));
    if (untilZero.empty()) return std::string();
    const auto text = platform::CodePageToUtf16(untilZero, CodePage);
    if (!text) return std::nullopt;
    return platform::Utf16ToUtf8(*text);
}

}  // namespace seedlens
