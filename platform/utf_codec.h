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

// Appends one code point (up to U+10FFFF) as UTF-16.
void AppendUtf16(std::u16string& Out, char32_t CodePoint);

}  // namespace seedlens::platform
