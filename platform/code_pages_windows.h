#pragma once
// What the Windows code pages add to code_pages.h: texts cut for any code
// page, not only the active one. Only Windows code and its tests include this.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace seedlens::platform {

// Writes as much of Text, encoded in CodePage, as fits in Capacity bytes,
// whole characters only. Returns the number of bytes written.
std::size_t EncodeWholeCharactersInto(std::u16string_view Text, std::uint32_t CodePage, char* Out,
                                      std::size_t Capacity);

}  // namespace seedlens::platform
