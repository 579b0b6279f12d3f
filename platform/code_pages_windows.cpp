// Code pages through the Windows converters; the system ANSI code page is
// the active one (GetACP) for both the legacy text and the 8-bit interface.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/code_pages.h"
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

std::size_t Utf8ToNarrowInto(std::string_view Utf8, char* Out, std::size_t Capacity) {
    const std::string text = Utf16ToNarrow(Utf8ToUtf16(Utf8.substr(0, std::min(Utf8.size(), Capacity * 3 + 4))));
    // Walk whole characters: a double-byte character is never cut in two.
    const UINT codePage = GetACP();
    std::size_t count = 0;
    while (count < text.size()) {
        const std::size_t width =
            IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[count])) && count + 1 < text.size() ? 2 : 1;
        if (count + width > Capacity) break;
        count += width;
    }
    std::copy_n(text.data(), count, Out);
    return count;
}

void SelectLegacyCodePageForTesting(std::uint32_t CodePage) { gLegacyForTesting.store(CodePage); }

}  // namespace seedlens::platform
