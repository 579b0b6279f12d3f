#pragma once
// Unicode simple case folding: one code point to one code point, as
// CaseFolding.txt's statuses C and S give it. Pure code.

namespace seedlens::platform {

// The folded form of CodePoint (lower case for most letters); itself when
// it has none. Folding never moves a code point into or out of the BMP.
char32_t SimpleCaseFold(char32_t CodePoint);

}  // namespace seedlens::platform
