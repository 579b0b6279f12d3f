// Code pages through the Windows converters; the system ANSI code page is
// the active one (GetACP) for both the legacy text and the 8-bit interface.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/code_pages.h"
#include "platform/code_pages_windows.h"
#include "platform/windows_text.h"

namespace seedlens::platform {

namespace {

std::atomic<std::uint32_t> gLegacyForTesting{0};

std::uint32_t LegacyCodePage() {
    const std::uint32_t chosen = gLegacyForTesting.load(std::memory_order_relaxed);
    return chosen != 0 ? chosen : GetACP();
}

// Bytes to UTF-16 in CodePage; nothing when the code page is unknown here.
std::optional<std::u16string> Decode(std::string_view Bytes, UINT CodePage) {
    if (Bytes.empty()) return std::u16string();
    const int length = Length(Bytes.size());
    const int units = MultiByteToWideChar(CodePage, 0, Bytes.data(), length, nullptr, 0);
    if (units <= 0) return std::nullopt;
    std::u16string text(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(CodePage, 0, Bytes.data(), length, AsWide(text.data()), units);
    return text;
}

std::string Encode(std::u16string_view Text, UINT CodePage) {
    if (Text.empty()) return {};
    const int length = Length(Text.size());
    const int bytes = WideCharToMultiByte(CodePage, 0, AsWide(Text.data()), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CodePage, 0, AsWide(Text.data()), length, out.data(), bytes, nullptr, nullptr);
    return out;
}

bool IsHighSurrogate(char16_t Unit) { return Unit >= 0xD800 && Unit <= 0xDBFF; }

// The longest prefix of whole UTF-8 characters within Capacity bytes: back
// off over continuation bytes from where the cut would fall.
std::size_t Utf8Prefix(std::string_view Bytes, std::size_t Capacity) {
    if (Capacity >= Bytes.size()) return Bytes.size();
    std::size_t end = Capacity;
    while (end > 0 && (static_cast<unsigned char>(Bytes[end]) & 0xC0) == 0x80) --end;
    return end;
}

// The same for a code page of single and double-byte characters.
std::size_t DoubleBytePrefix(std::string_view Bytes, UINT CodePage, std::size_t Capacity) {
    std::size_t end = 0;
    while (end < Bytes.size()) {
        const std::size_t width =
            IsDBCSLeadByteEx(CodePage, static_cast<BYTE>(Bytes[end])) && end + 1 < Bytes.size() ? 2 : 1;
        if (end + width > Capacity) break;
        end += width;
    }
    return end;
}

// Any other code page of characters longer than two bytes: each character
// encoded on its own, which is whole by construction.
std::size_t EncodeEachCharacterInto(std::u16string_view Text, UINT CodePage, char* Out, std::size_t Capacity) {
    std::size_t written = 0;
    for (std::size_t i = 0; i < Text.size();) {
        const std::size_t units = IsHighSurrogate(Text[i]) && i + 1 < Text.size() ? 2 : 1;
        const std::string character = Encode(Text.substr(i, units), CodePage);
        if (written + character.size() > Capacity) break;
        std::copy(character.begin(), character.end(), Out + written);
        written += character.size();
        i += units;
    }
    return written;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view Bytes) { return Decode(Bytes, CP_UTF8).value_or(std::u16string()); }
std::string Utf16ToUtf8(std::u16string_view Text) { return Encode(Text, CP_UTF8); }
std::u16string LegacyToUtf16(std::string_view Bytes) {
    return Decode(Bytes, LegacyCodePage()).value_or(std::u16string());
}
std::optional<std::u16string> CodePageToUtf16(std::string_view Bytes, std::uint32_t CodePage) {
    if (!IsValidCodePage(CodePage)) return std::nullopt;
    return Decode(Bytes, CodePage);
}
std::u16string NarrowToUtf16(std::string_view Bytes) { return Decode(Bytes, CP_ACP).value_or(std::u16string()); }
std::string Utf16ToNarrow(std::u16string_view Text) { return Encode(Text, CP_ACP); }

std::size_t Utf8ToUtf16Into(std::string_view Utf8, void* Out, std::size_t Capacity) {
    // Each unit takes at least one byte: convert no more than can fit.
    const std::u16string text = Utf8ToUtf16(Utf8.substr(0, std::min(Utf8.size(), Capacity * 3 + 4)));
    std::size_t count = std::min(text.size(), Capacity);
    if (count > 0 && count < text.size() && IsHighSurrogate(text[count - 1])) --count;  // never half a pair
    std::memcpy(Out, text.data(), count * sizeof(char16_t));
    return count;
}

std::size_t EncodeWholeCharactersInto(std::u16string_view Text, std::uint32_t CodePage, char* Out,
                                      std::size_t Capacity) {
    CPINFO info;
    if (!GetCPInfo(CodePage, &info)) return 0;
    if (CodePage != CP_UTF8 && info.MaxCharSize > 2) return EncodeEachCharacterInto(Text, CodePage, Out, Capacity);
    const std::string bytes = Encode(Text, CodePage);
    const std::size_t count =
        CodePage == CP_UTF8 ? Utf8Prefix(bytes, Capacity) : DoubleBytePrefix(bytes, CodePage, Capacity);
    std::copy_n(bytes.data(), count, Out);
    return count;
}

std::size_t Utf8ToNarrowInto(std::string_view Utf8, char* Out, std::size_t Capacity) {
    return EncodeWholeCharactersInto(Utf8ToUtf16(Utf8.substr(0, std::min(Utf8.size(), Capacity * 3 + 4))), GetACP(),
                                     Out, Capacity);
}

void SelectLegacyCodePageForTesting(std::uint32_t CodePage) { gLegacyForTesting.store(CodePage); }

}  // namespace seedlens::platform
