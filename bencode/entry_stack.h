#pragma once
// The entries of every open list and dictionary while the reader works,
// innermost container on top. Entries are written straight into their slot:
// building one elsewhere and copying it in costs a stalled load per entry.
//
// A small torrent's entries fit the few slots kept inline; larger ones move
// to a pooled block, and only a container with more entries than a block
// holds moves on to a heap buffer twice as large each time.

#include <cstddef>
#include <cstring>
#include <new>
#include <span>

#include "bencode/bencoded.h"
#include "bencode/block_pool.h"

namespace seedlens {

class EntryStack {
public:
    static constexpr std::size_t InlineCapacity = 64;
    static constexpr std::size_t PooledCapacity = BlockPool::BlockBytes / sizeof(TBEncodedData);

    EntryStack() = default;
    ~EntryStack() { Release(); }
    EntryStack(const EntryStack&) = delete;
    EntryStack& operator=(const EntryStack&) = delete;

    std::size_t Size() const { return static_cast<std::size_t>(FTop - FBase); }

    // A new top slot, for the caller to fill.
    [[gnu::always_inline]] TBEncodedData& Push() {
        if (FTop == FLimit) Grow();
        return *FTop++;
    }

    // The entries from index First to the top.
    std::span<const TBEncodedData> From(std::size_t First) const { return {FBase + First, FTop}; }
    void ShrinkTo(std::size_t NewSize) { FTop = FBase + NewSize; }

private:
    std::size_t Capacity() const { return static_cast<std::size_t>(FLimit - FBase); }

    void Grow() {
        const std::size_t size = Size();
        const bool toPool = Capacity() == InlineCapacity;
        const std::size_t capacity = toPool ? PooledCapacity : Capacity() * 2;
        auto* larger = static_cast<TBEncodedData*>(toPool ? BlockPool::Take()
                                                          : ::operator new(capacity * sizeof(TBEncodedData)));
        std::memcpy(static_cast<void*>(larger), FBase, size * sizeof(TBEncodedData));
        Release();
        FBase = larger;
        FTop = larger + size;
        FLimit = larger + capacity;
    }

    void Release() noexcept {
        if (Capacity() == PooledCapacity)
            BlockPool::Give(FBase);
        else if (Capacity() != InlineCapacity)
            ::operator delete(FBase);
    }

    // Raw storage: the slots are written before they are read, so nothing
    // needs clearing when a reader starts.
    alignas(TBEncodedData) std::byte FInline[InlineCapacity * sizeof(TBEncodedData)];
    TBEncodedData* FBase = reinterpret_cast<TBEncodedData*>(FInline);
    TBEncodedData* FTop = FBase;
    TBEncodedData* FLimit = FBase + InlineCapacity;
};

}  // namespace seedlens
