#include "bencode/entry_arena.h"

#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace seedlens {

// Entries are copied as bytes into raw blocks.
static_assert(std::is_trivially_copyable_v<TBEncodedData>);

EntryArena::~EntryArena() { Release(); }

EntryArena::EntryArena(EntryArena&& Other) noexcept
    : FLast(std::exchange(Other.FLast, nullptr)), FFree(std::exchange(Other.FFree, nullptr)),
      FFreeCount(std::exchange(Other.FFreeCount, 0)) {}

EntryArena& EntryArena::operator=(EntryArena&& Other) noexcept {
    if (this != &Other) {
        Release();
        FLast = std::exchange(Other.FLast, nullptr);
        FFree = std::exchange(Other.FFree, nullptr);
        FFreeCount = std::exchange(Other.FFreeCount, 0);
    }
    return *this;
}

void EntryArena::Release() noexcept {
    while (FLast != nullptr) {
        BlockHeader* block = std::exchange(FLast, FLast->Previous);
        if (block->Pooled)
            BlockPool::Give(block);
        else
            ::operator delete(block);
    }
}

TBEncodedData* EntryArena::AddBlock(std::size_t Count, bool Pooled) {
    void* memory = Pooled ? BlockPool::Take() : ::operator new(sizeof(BlockHeader) + Count * sizeof(TBEncodedData));
    FLast = ::new (memory) BlockHeader{FLast, Pooled};
    return reinterpret_cast<TBEncodedData*>(FLast + 1);
}

const TBEncodedData* EntryArena::Store(std::span<const TBEncodedData> Entries) {
    if (Entries.empty()) return nullptr;
    const std::size_t bytes = Entries.size() * sizeof(TBEncodedData);
    if (Entries.size() > EntriesPerBlock) {
        // A list larger than a block gets memory of its own.
        TBEncodedData* stored = AddBlock(Entries.size(), false);
        std::memcpy(static_cast<void*>(stored), Entries.data(), bytes);
        return stored;
    }
    if (Entries.size() > FFreeCount) {
        FFree = AddBlock(EntriesPerBlock, true);
        FFreeCount = EntriesPerBlock;
    }
    TBEncodedData* stored = FFree;
    std::memcpy(static_cast<void*>(stored), Entries.data(), bytes);
    FFree += Entries.size();
    FFreeCount -= Entries.size();
    return stored;
}

}  // namespace seedlens
