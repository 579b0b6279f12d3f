#include "bencode/entry_arena.h"

#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace seedlens {

// Entries are copied as bytes into raw blocks, and kept small: a torrent of
// many files is mostly entries, and building them is mostly memory traffic.
static_assert(sizeof(TBEncodedData) <= 32);  // 24 with 32-bit pointers
static_assert(std::is_trivially_copyable_v<TBEncodedData>);

EntryArena::~EntryArena() { Release(); }

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

TBEncodedData* EntryArena::Allocate(std::size_t Count) {
    // A list larger than a block gets memory of its own.
    if (Count > EntriesPerBlock) return AddBlock(Count, false);
    if (Count > FFreeCount) {
        FFree = AddBlock(EntriesPerBlock, true);
        FFreeCount = EntriesPerBlock;
    }
    TBEncodedData* room = FFree;
    FFree += Count;
    FFreeCount -= Count;
    return room;
}

const TBEncodedData* EntryArena::Store(std::span<const TBEncodedData> Entries) {
    if (Entries.empty()) return nullptr;
    TBEncodedData* stored = Allocate(Entries.size());
    std::memcpy(static_cast<void*>(stored), Entries.data(), Entries.size() * sizeof(TBEncodedData));
    return stored;
}

const TBEncodedData* EntryArena::StoreDictionary(std::span<const TBEncodedData> Entries, TBEncodedSpan Span) {
    TBEncodedData* slot = Allocate(Entries.size() + 1);
    ::new (static_cast<void*>(slot)) TBEncodedSpan(Span);
    std::memcpy(static_cast<void*>(slot + 1), Entries.data(), Entries.size() * sizeof(TBEncodedData));
    return slot + 1;
}

}  // namespace seedlens
