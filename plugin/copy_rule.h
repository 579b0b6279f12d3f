#pragma once
// How every text reaches a host buffer: up to the first zero character, at
// most MaxLen - 1 characters, then a terminating zero. A buffer that cannot
// hold even the terminator is left untouched.

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace seedlens {

// Returns false when nothing could be written.
template <typename Char>
bool CopyToHostBuffer(std::basic_string_view<Char> Source, Char* Buffer, std::int32_t MaxLen) {
    if (Buffer == nullptr || MaxLen <= 0) return false;
    const std::size_t untilZero = std::min(Source.find(Char{0}), Source.size());
    const std::size_t count = std::min(untilZero, static_cast<std::size_t>(MaxLen) - 1);
    std::copy_n(Source.data(), count, Buffer);
    Buffer[count] = Char{0};
    return true;
}

}  // namespace seedlens
