// Case comparison by Unicode simple case folding, from our own table: the
// C library's case mappings differ from folding (the Kelvin sign, capital
// sharp s, dotless i) and depend on locales the host owns.

#include <cstdint>
#include <cstring>

#include "platform/case_folding.h"
#include "platform/text_compare.h"

namespace seedlens::platform {

namespace {

char16_t AsciiLower(char16_t Unit) { return (Unit >= u'A' && Unit <= u'Z') ? static_cast<char16_t>(Unit + 32) : Unit; }

// Next code point of Text at Pos, advancing Pos; lone surrogates stand alone.
char32_t NextCodePoint(std::u16string_view Text, std::size_t& Pos) {
    const char16_t unit = Text[Pos++];
    if (unit >= 0xD800 && unit <= 0xDBFF && Pos < Text.size() && Text[Pos] >= 0xDC00 && Text[Pos] <= 0xDFFF)
        return 0x10000 + ((unit - 0xD800) << 10) + (Text[Pos++] - 0xDC00);
    return unit;
}

}  // namespace

bool EqualIgnoringCase(std::u16string_view A, std::u16string_view B) {
    if (A.size() != B.size()) return false;  // simple folding keeps a text's UTF-16 length
    // The usual duplicate: the same address written twice.
    if (A.empty() || std::memcmp(A.data(), B.data(), A.size() * sizeof(char16_t)) == 0) return true;
    // Addresses are nearly always ASCII: compare those without the table.
    std::size_t ascii = 0;
    for (; ascii < A.size(); ++ascii) {
        const char16_t a = A[ascii], b = B[ascii];
        if (a >= 0x80 || b >= 0x80) break;
        if (a != b && AsciiLower(a) != AsciiLower(b)) return false;
    }
    std::size_t i = ascii, j = ascii;
    while (i < A.size() && j < B.size()) {
        const char32_t a = NextCodePoint(A, i);
        const char32_t b = NextCodePoint(B, j);
        if (a != b && SimpleCaseFold(a) != SimpleCaseFold(b)) return false;
    }
    return i == A.size() && j == B.size();
}

std::u16string CaseInsensitiveKey(std::u16string_view Text) {
    std::u16string key(Text);
    // Addresses are nearly always ASCII: fold those in place.
    bool ascii = true;
    for (char16_t& unit : key) {
        if (unit >= 0x80) ascii = false;
        unit = AsciiLower(unit);
    }
    if (ascii) return key;
    key.clear();
    std::size_t i = 0;
    while (i < Text.size()) {
        const char32_t folded = SimpleCaseFold(NextCodePoint(Text, i));
        if (folded < 0x10000) {
            key.push_back(static_cast<char16_t>(folded));
        } else {
            key.push_back(static_cast<char16_t>(0xD800 + ((folded - 0x10000) >> 10)));
            key.push_back(static_cast<char16_t>(0xDC00 + ((folded - 0x10000) & 0x3FF)));
        }
    }
    return key;
}

std::u16string_view FileNameKey(std::u16string_view Name, std::u16string&) { return Name; }

int CompareFileNames(std::u16string_view A, std::u16string_view B) {
    const std::size_t common = A.size() < B.size() ? A.size() : B.size();
    std::size_t i = 0;
    // Names of one folder share a long prefix: skip it four units at a time.
    for (; i + 4 <= common; i += 4) {
        std::uint64_t a, b;
        std::memcpy(&a, A.data() + i, sizeof a);
        std::memcpy(&b, B.data() + i, sizeof b);
        if (a != b) break;
    }
    for (; i < common; ++i)
        if (A[i] != B[i]) return A[i] < B[i] ? -1 : 1;
    return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

}  // namespace seedlens::platform
