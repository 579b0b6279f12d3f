#pragma once
// Windows-1252 decoding, byte for byte as Windows does it: the five bytes the
// code page leaves unassigned (81, 8D, 8F, 90, 9D) become the C1 controls of
// the same value, so no byte is ever lost. Pure code.

#include <string>
#include <string_view>

namespace seedlens::platform {

std::u16string DecodeWindows1252(std::string_view Bytes);

}  // namespace seedlens::platform
