#include "bencode/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace seedlens {

std::size_t MemoryStream::Read(void* Buffer, std::size_t Count) {
    const std::size_t n = std::min(Count, FBytes.size() - FPosition);
    if (n > 0) std::memcpy(Buffer, FBytes.data() + FPosition, n);
    FPosition += n;
    return n;
}

std::int64_t MemoryStream::Seek(std::int64_t Offset, Origin From) {
    const std::int64_t base = From == Origin::Beginning ? 0 : Position();
    std::int64_t target = 0;
    if (__builtin_add_overflow(base, Offset, &target)) target = Offset < 0 ? 0 : Size();
    FPosition = static_cast<std::size_t>(std::clamp<std::int64_t>(target, 0, Size()));
    return Position();
}

std::span<const std::byte> MemoryStream::Slice(std::int64_t Start, std::int64_t End) const {
    if (Start < 0 || End < Start || End > Size()) return {};
    return FBytes.subspan(static_cast<std::size_t>(Start), static_cast<std::size_t>(End - Start));
}

}  // namespace seedlens
