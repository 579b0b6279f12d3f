#pragma once
// Conversions between the character sets the plug-in meets: UTF-8, UTF-16,
// Windows code pages named by torrents, the legacy code page that stands in
// for the system ANSI code page, and the host's 8-bit interface.
//
// On Windows the legacy code page and the 8-bit interface are both the
// active ANSI code page. On Linux the legacy code page is Windows-1252 (most
// legacy torrents come from Western Windows machines), while the 8-bit
// interface's texts are UTF-8, as Linux hosts speak it (file names, UTF-8
// or not, go through platform/file_names.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace seedlens::platform {

// UTF-8 to UTF-16 and back; ill-formed input becomes U+FFFD, never U+0000.
std::u16string Utf8ToUtf16(std::string_view Bytes);
std::string Utf16ToUtf8(std::u16string_view Text);

// Every byte read in the legacy code page; a zero byte becomes U+0000.
std::u16string LegacyToUtf16(std::string_view Bytes);

// Bytes in the Windows code page CodePage, or nothing when this platform
// cannot convert from that code page. Undecodable bytes become a
// replacement character.
std::optional<std::u16string> CodePageToUtf16(std::string_view Bytes, std::uint32_t CodePage);

// The host's 8-bit interface for texts (file names: platform/file_names.h).
std::u16string NarrowToUtf16(std::string_view Bytes);
std::string Utf16ToNarrow(std::u16string_view Text);
// Writes as much of a UTF-8 text as fits, whole characters only, straight
// into a host buffer: as UTF-16 (Capacity in units) or as the 8-bit
// interface's text (Capacity in bytes). Returns what was written. Host
// buffers may lie at any address: Out need not be aligned for char16_t.
std::size_t Utf8ToUtf16Into(std::string_view Utf8, void* Out, std::size_t Capacity);
std::size_t Utf8ToNarrowInto(std::string_view Utf8, char* Out, std::size_t Capacity);

// Tests only: reads legacy bytes in CodePage instead of the platform's
// choice; 0 restores it. The product never calls this.
void SelectLegacyCodePageForTesting(std::uint32_t CodePage);

}  // namespace seedlens::platform
