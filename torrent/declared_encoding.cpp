#include "torrent/declared_encoding.h"

#include "platform/code_pages.h"

namespace seedlens {

namespace {

struct DeclaredEncoding {
    std::string_view Name;
    std::optional<std::uint32_t> CodePage;
};

// In the order they are tried. "UTF-8" names no code page: bytes that claim
// UTF-8 but are not are read like undeclared ones.
constexpr DeclaredEncoding kDeclaredEncodings[] = {
    {"UTF-8", std::nullopt},
    {"Big5", 950},
    {"gb2312", 936},
    {"shift_jis", 932},
    {"korean", 949},
};

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool EqualIgnoringAsciiCase(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) return false;
    for (std::size_t i = 0; i < A.size(); ++i)
        if (AsciiUpper(A[i]) != AsciiUpper(B[i])) return false;
    return true;
}

}  // namespace

std::optional<std::uint32_t> DeclaredCodePage(std::string_view Encoding) {
    for (const DeclaredEncoding& known : kDeclaredEncodings)
        if (EqualIgnoringAsciiCase(Encoding, known.Name)) return known.CodePage;
    return std::nullopt;
}

std::optional<std::string> CodePageToUTF8(std::string_view Bytes, std::uint32_t CodePage) {
    const std::string_view untilZero = Bytes.substr(0, Bytes.find('\0'));
    if (untilZero.empty()) return std::string();
    const auto text = platform::CodePageToUtf16(untilZero, CodePage);
    if (!text) return std::nullopt;
    return platform::Utf16ToUtf8(*text);
}

}  // namespace seedlens
