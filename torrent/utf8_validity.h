#pragma once
// The shape test for UTF-8 that decides whether torrent bytes are already
// UTF-8. It checks only the shape of each sequence: overlong forms, encoded
// surrogates and values above U+10FFFF pass. Turning such bytes into UTF-16
// later replaces them, so they never reach a host raw.

#include <cstdint>

namespace seedlens {

// 1 to 4 for a lead byte, -1 for a continuation byte or F8 to FF.
int UTF8SequenceLength(std::uint8_t Byte);
bool IsUTF8Continuation(std::uint8_t Byte);

// Whether Count bytes at Bytes form well-shaped UTF-8. Reads each byte once.
bool IsValidUTF8(const void* Bytes, std::int64_t Count);

}  // namespace seedlens
