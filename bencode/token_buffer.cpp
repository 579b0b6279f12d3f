#include "bencode/token_buffer.h"

#include <algorithm>
#include <cstring>

#include "bencode/block_pool.h"
#include "platform/large_buffer.h"

namespace seedlens {

namespace {
constexpr std::size_t kPooledTokens = BlockPool::BlockBytes / sizeof(BEncodeToken);
}  // namespace

void TokenBuffer::Release() noexcept {
    if (FPooled)
        BlockPool::Give(FTokens);
    else
        platform::FreeLargeBuffer(FTokens, FCapacity * sizeof(BEncodeToken));
    FTokens = nullptr;
    FCapacity = 0;
    FPooled = false;
}

void TokenBuffer::Reserve(std::size_t Bound) {
    Release();
    FTokens = static_cast<BEncodeToken*>(BlockPool::Take());
    FPooled = true;
    FCapacity = kPooledTokens;
    FBound = Bound;
}

void TokenBuffer::Grow(std::size_t Size) {
    // The bound holds, but a miscount must not write past the room.
    const std::size_t capacity = std::max(FBound, FCapacity * 2);
    auto* larger = static_cast<BEncodeToken*>(platform::AllocateLargeBuffer(capacity * sizeof(BEncodeToken)));
    std::memcpy(larger, FTokens, Size * sizeof(BEncodeToken));
    Release();
    FTokens = larger;
    FCapacity = capacity;
}

}  // namespace seedlens
