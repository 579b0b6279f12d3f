#pragma once
// The encodings a torrent may declare in "encoding", and decoding from the
// Windows code pages they name.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace seedlens {

// The Windows code page that Encoding names: a label of the WHATWG
// Encoding Standard or "cp" and the number, compared ignoring surrounding
// ASCII whitespace and ASCII letter case. Nothing for the labels of UTF-8
// (read by the UTF-8 rule), of UTF-16 and of encodings without a Windows
// code page, and for any other name.
std::optional<std::uint32_t> DeclaredCodePage(std::string_view Encoding);

// Bytes in CodePage as UTF-8, up to the first zero byte. Empty when nothing
// is left to decode; nothing when the platform cannot convert from CodePage.
std::optional<std::string> CodePageToUTF8(std::string_view Bytes, std::uint32_t CodePage);

}  // namespace seedlens
