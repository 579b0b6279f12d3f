#include "bencode/token_buffer.h"

#include <cstring>
#include <new>

#include "bencode/block_pool.h"

namespace seedlens {

namespace {
constexpr std::size_t kPooledTokens = BlockPool::BlockBytes / sizeof(BEncodeToken);
}  // namespace

void TokenBuffer::Release() noexcept {
    if (FPooled)
        BlockPool::Give(FTokens);
    else
        ::operator delete(FTokens);
    FTokens = nullptr;
    FCapacity = 0;
    FPooled = false;
}

void TokenBuffer::Reserve(std::size_t Count) {
    Release();
    FPooled = Count <= kPooledTokens;
    FTokens = static_cast<BEncodeToken*>(FPooled ? BlockPool::Take() : ::operator new(Count * sizeof(BEncodeToken)));
    FCapacity = FPooled ? kPooledTokens : Count;
}

void TokenBuffer::Grow(std::size_t Size) {
    const std::size_t capacity = FCapacity * 2 + 1;
    auto* larger = static_cast<BEncodeToken*>(::operator new(capacity * sizeof(BEncodeToken)));
    if (Size != 0) std::memcpy(larger, FTokens, Size * sizeof(BEncodeToken));
    Release();
    FTokens = larger;
    FCapacity = capacity;
}

}  // namespace seedlens
