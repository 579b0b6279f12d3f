#pragma once
// The entries of every open list and dictionary while the reader works,
// innermost container on top. Entries are written straight into their slot:
// building one elsewhere and copying it in costs a stalled load per entry.
//
// The stack starts in one pooled block and moves to a larger heap buffer
// only for a container with more entries than a block holds.

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <span>

#include "bencode/bencoded.h"
#include "bencode/block_pool.h"

namespace seedlens {

class EntryStack {
public:
    static constexpr std::size_t PooledCapacity = BlockPool::BlockBytes / sizeof(TBEncodedData);

    EntryStack() : FBase(static_cast<TBEncodedData*>(BlockPool::Take())), FTop(FBase), FLimit(FBase + PooledCapacity) {}
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
    void Grow() {
        const std::size_t size = Size();
        const std::size_t capacity = static_cast<std::size_t>(FLimit - FBase) * 2;
        auto* larger = static_cast<TBEncodedData*>(::operator new(capacity * sizeof(TBEncodedData)));
        std::memcpy(static_cast<void*>(larger), FBase, size * sizeof(TBEncodedData));
        Release();
        FBase = larger;
        FTop = larger + size;
        FLimit = larger + capacity;
    }

    void Release() noexcept {
        if (static_cast<std::size_t>(FLimit - FBase) == PooledCapacity)
            BlockPool::Give(FBase);
        else
            ::operator delete(FBase);
    }

    TBEncodedData* FBase;
    TBEncodedData* FTop;
    TBEncodedData* FLimit;
};

}  // namespace seedlens
