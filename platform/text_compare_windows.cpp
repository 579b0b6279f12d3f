// Text comparison through the Windows locale functions.

#include <windows.h>

#include "platform/text_compare.h"
#include "platform/windows_text.h"

namespace seedlens::platform {

bool EqualIgnoringCase(std::u16string_view A, std::u16string_view B) {
    if (A == B) return true;  // the usual duplicate: the same address written twice
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, AsWide(A.data()), Length(A.size()),
                          AsWide(B.data()), Length(B.size())) == CSTR_EQUAL;
}

std::u16string CaseInsensitiveKey(std::u16string_view Text) {
    // Texts that CompareStringW calls equal have equal sort keys.
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int bytes = LCMapStringW(LOCALE_USER_DEFAULT, flags, AsWide(Text.data()), Length(Text.size()), nullptr, 0);
    if (bytes <= 0) return std::u16string(Text);
    std::string key(static_cast<std::size_t>(bytes), '\0');
    LCMapStringW(LOCALE_USER_DEFAULT, flags, AsWide(Text.data()), Length(Text.size()),
                 reinterpret_cast<LPWSTR>(key.data()), bytes);
    std::u16string packed((key.size() + 1) / 2, u'\0');
    for (std::size_t i = 0; i < key.size(); ++i)
        packed[i / 2] = static_cast<char16_t>(packed[i / 2] | (static_cast<unsigned char>(key[i]) << (8 * (i % 2))));
    return packed;
}

int CompareFileNames(std::u16string_view A, std::u16string_view B) {
    // Ordinal and without regard to case, as Windows file systems tell names
    // apart: "Straße" and "Strasse" stay two files.
    return CompareStringOrdinal(AsWide(A.data()), Length(A.size()), AsWide(B.data()), Length(B.size()), TRUE) -
           CSTR_EQUAL;
}

std::u16string_view FileNameKey(std::u16string_view Name, std::u16string& Storage) {
    Storage.assign(Name);
    if (!Storage.empty())
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, AsWide(Name.data()), Length(Name.size()),
                      AsWide(Storage.data()), Length(Storage.size()), nullptr, nullptr, 0);
    return Storage;
}

}  // namespace seedlens::platform
