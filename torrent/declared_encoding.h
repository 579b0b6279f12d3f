#pragma once
// The encodings a torrent may declare in "encoding", and decoding from the
// Windows code pages they name.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace seedlens {

// The code page that Encoding names ("Big5", "gb2312", "shift_jis",
// "korean", compared ignoring ASCII letter case), or nothing: "UTF-8",
// any other name and the empty text name no code page.
std::optional<std::uint32_t> DeclaredCodePage(std::string_view Encoding);

// Bytes in CodePage as UTF-8, up to the first zero byte. Empty when nothing
// is left to decode; nothing when the platform cannot convert from CodePage.
std::optional<std::string> CodePageToUTF8(std::string_view Bytes, std::uint32_t CodePage);

}  // namespace seedlens
