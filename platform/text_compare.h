#pragma once
// Comparing texts the way each list of the plug-in needs.

#include <string>
#include <string_view>

namespace seedlens::platform {

// Equal without regard to letter case (Unicode simple case folding), as the
// tracker list compares its addresses.
bool EqualIgnoringCase(std::u16string_view A, std::u16string_view B);

// A key with which texts equal without regard to case are equal, for
// finding such texts by hashing instead of comparing against each.
std::u16string CaseInsensitiveKey(std::u16string_view Text);

// Order of file names as the platform's file systems tell them apart:
// exact on POSIX, ordinal without regard to case on Windows.
// Negative, zero or positive, like strcmp.
int CompareFileNames(std::u16string_view A, std::u16string_view B);

// A form of Name that is equal for exactly the names CompareFileNames calls
// equal, for hashing. It is Name itself where names compare exactly, or
// written to Storage.
std::u16string_view FileNameKey(std::u16string_view Name, std::u16string& Storage);

}  // namespace seedlens::platform
