#pragma once
// Writing a UTF-8 text into a host buffer by the copy rule: up to its first
// zero character, cut to the buffer, terminated, never ending in half a
// character. Only the part that fits is converted.

#include <cstdint>
#include <string_view>

namespace seedlens {

// As UTF-16. Hosts give the wide call its buffer's size in bytes, so at
// most MaxLenBytes / 2 units are written, the terminator included.
// False, with nothing written, when not even the terminator fits.
bool WriteWideText(std::string_view Utf8, void* Buffer, std::int32_t MaxLenBytes);

// As the host's 8-bit text, at most MaxLen bytes with the terminator.
bool WriteNarrowText(std::string_view Utf8, void* Buffer, std::int32_t MaxLen);

}  // namespace seedlens
