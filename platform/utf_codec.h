#pragma once
// UTF-8 <-> UTF-16 with the replacement rules of the Windows converter:
// every ill-formed UTF-8 sequence (overlong forms, encoded surrogates, values
// above U+10FFFF, stray or missing continuation bytes) becomes one U+FFFD per
// maximal ill-formed subpart, and a lone surrogate in UTF-16 becomes U+FFFD.
// Zero units are ordinary characters here; callers cut texts where they must.
// Pure code, shared by the platform implementations that need it.

#include <string>
#include <string_view>

namespace seedlens::platform {

std::u16string DecodeUtf8(std::string_view Bytes);
std::string EncodeUtf8(std::u16string_view Text);

// Decodes as many whole characters of Bytes as fit in Capacity units into
// Out, replacing as DecodeUtf8 does; returns the units written. Out need
// not be aligned for char16_t.
std::size_t DecodeUtf8Into(std::string_view Bytes, void* Out, std::size_t Capacity);
// Copies Bytes as well-formed UTF-8 (ill-formed parts become U+FFFD), as
// many whole characters as fit in Capacity bytes; returns the bytes written.
std::size_t SanitizeUtf8Into(std::string_view Bytes, char* Out, std::size_t Capacity);

// Narrows the ASCII units that Text starts with into To, which must have
// room for all of Text; returns how many there were.
std::size_t NarrowAsciiPrefix(std::u16string_view Text, char* To);
// Widens the ASCII bytes that Bytes starts with into To, which must have
// room for all of Bytes; returns how many there were.
std::size_t WidenAsciiPrefix(std::string_view Bytes, char16_t* To);

// Bytes that are mostly UTF-8, such as POSIX file names, mapped to UTF-16
// without loss: each byte that is no part of a well-formed sequence (encoded
// surrogates included) becomes the lone surrogate U+DC80 + (byte - 0x80).
// EncodeUtf8RestoringBytes turns such a surrogate back into its byte and
// other lone surrogates into U+FFFD, so that every byte string survives the
// round trip.
std::u16string DecodeUtf8EscapingBytes(std::string_view Bytes);
std::string EncodeUtf8RestoringBytes(std::u16string_view Text);

// Bytes of the well-formed UTF-8 sequence that Bytes starts with (1 for
// ASCII), or 0 when it starts with none.
std::size_t WellFormedUtf8Length(std::string_view Bytes);

// Appends one code point (up to U+10FFFF) as UTF-16.
void AppendUtf16(std::u16string& Out, char32_t CodePoint);

}  // namespace seedlens::platform
