#include "torrent/utf8_validity.h"

#include <cstring>

namespace seedlens {

int UTF8SequenceLength(std::uint8_t Byte) {
    if ((Byte & 0x80) == 0x00) return 1;
    if ((Byte & 0xE0) == 0xC0) return 2;
    if ((Byte & 0xF0) == 0xE0) return 3;
    if ((Byte & 0xF8) == 0xF0) return 4;
    return -1;
}

bool IsUTF8Continuation(std::uint8_t Byte) { return (Byte & 0xC0) == 0x80; }

bool IsValidUTF8(const void* Bytes, std::int64_t Count) {
    const auto* p = static_cast<const std::uint8_t*>(Bytes);
    std::int64_t pos = 0;
    while (pos < Count) {
        // Skip ASCII eight bytes at a time: most torrent texts are ASCII.
        if (Count - pos >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p + pos, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                pos += 8;
                continue;
            }
        }
        const int length = UTF8SequenceLength(p[pos]);
        if (length < 1 || pos + length - 1 >= Count) return false;
        // The bytes after the lead byte must all be continuation bytes.
        for (int i = 1; i < length; ++i)
            if (!IsUTF8Continuation(p[pos + i])) return false;
        pos += length;
    }
    return true;
}

}  // namespace seedlens
