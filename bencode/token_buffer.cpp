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
        platform::FreeLargeBuffer(FTokens, FReserved * sizeof(BEncodeToken));
    FTokens = nullptr;
    FCapacity = FReserved = 0;
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
    // Room for the whole bound is reserved once and made usable twice as
    // large each time; the bound holds, but a miscount must not write past
    // the room.
    if (FPooled || FCapacity == FReserved) {
        const std::size_t reserved = std::max(FBound, FCapacity * 2);
        auto* larger = static_cast<BEncodeToken*>(platform::ReserveLargeBuffer(reserved * sizeof(BEncodeToken)));
        const std::size_t capacity = std::min(reserved, FCapacity * 2);
        try {
            platform::CommitLargeBuffer(larger, capacity * sizeof(BEncodeToken));
        } catch (...) {
            platform::FreeLargeBuffer(larger, reserved * sizeof(BEncodeToken));
            throw;
        }
        std::memcpy(larger, FTokens, Size * sizeof(BEncodeToken));
        Release();
        FTokens = larger;
        FReserved = reserved;
        FCapacity = capacity;
        return;
    }
    const std::size_t capacity = std::min(FReserved, FCapacity * 2);
    platform::CommitLargeBuffer(FTokens, capacity * sizeof(BEncodeToken));
    FCapacity = capacity;
}

}  // namespace seedlens
