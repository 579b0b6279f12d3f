#include "bencode/entry_arena.h"

#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "bencode/block_pool.h"

namespace seedlens {

// Entries are copied as bytes into raw blocks.
static_assert(std::is_trivially_copyable_v<TBEncodedData>);
static_assert(EntryArena::EntriesPerBlock * sizeof(TBEncodedData) <= BlockPool::BlockBytes);

EntryArena::~EntryArena() { Release(); }

EntryArena::EntryArena(EntryArena&& Other) noexcept
    : FBlocks(std::move(Other.FBlocks)), FFree(std::exchange(Other.FFree, nullptr)),
      FFreeCount(std::exchange(Other.FFreeCount, 0)) {
    Other.FBlocks.clear();
}

EntryArena& EntryArena::operator=(EntryArena&& Other) noexcept {
    if (this != &Other) {
        Release();
        FBlocks = std::move(Other.FBlocks);
        Other.FBlocks.clear();
        FFree = std::exchange(Other.FFree, nullptr);
        FFreeCount = std::exchange(Other.FFreeCount, 0);
    }
    return *this;
}

void EntryArena::Release() noexcept {
    for (const Block& block : FBlocks) {
        if (block.Pooled)
            BlockPool::Give(block.Memory);
        else
            ::operator delete(block.Memory);
    }
    FBlocks.clear();
}

const TBEncodedData* EntryArena::Store(std::span<const TBEncodedData> Entries) {
    if (Entries.empty()) return nullptr;
    const std::size_t bytes = Entries.size() * sizeof(TBEncodedData);
    if (Entries.size() > EntriesPerBlock) {
        // A list larger than a block gets memory of its own.
        FBlocks.reserve(FBlocks.size() + 1);
        void* memory = ::operator new(bytes);
        FBlocks.push_back({memory, false});
        std::memcpy(memory, Entries.data(), bytes);
        return static_cast<const TBEncodedData*>(memory);
    }
    if (Entries.size() > FFreeCount) {
        FBlocks.reserve(FBlocks.size() + 1);
        void* memory = BlockPool::Take();
        FBlocks.push_back({memory, true});
        FFree = static_cast<TBEncodedData*>(memory);
        FFreeCount = EntriesPerBlock;
    }
    TBEncodedData* stored = FFree;
    std::memcpy(static_cast<void*>(stored), Entries.data(), bytes);
    FFree += Entries.size();
    FFreeCount -= Entries.size();
    return stored;
}

}  // namespace seedlens
