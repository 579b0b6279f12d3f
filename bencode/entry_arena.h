#pragma once
// Storage for the entries of every list and dictionary of one tree.
// Each list's entries are stored together, so a list is a pointer and a
// count; blocks never move, so those pointers stay valid for the tree's life.
// The blocks are chained through a header at their start: keeping track of
// them allocates nothing.

#include <cstddef>
#include <span>

#include "bencode/bencoded.h"
#include "bencode/block_pool.h"

namespace seedlens {

class EntryArena {
public:
    EntryArena() = default;
    ~EntryArena();
    EntryArena(EntryArena&& Other) noexcept;
    EntryArena& operator=(EntryArena&& Other) noexcept;
    EntryArena(const EntryArena&) = delete;
    EntryArena& operator=(const EntryArena&) = delete;

    // Copies Entries into the arena and returns where they now live
    // (nullptr for none).
    const TBEncodedData* Store(std::span<const TBEncodedData> Entries);
    // The same for a dictionary: its span goes into the slot before its
    // entries, so the result is never nullptr.
    const TBEncodedData* StoreDictionary(std::span<const TBEncodedData> Entries, TBEncodedSpan Span);

private:
    struct alignas(TBEncodedData) BlockHeader {
        BlockHeader* Previous;
        bool Pooled;  // from the block pool, or a list too large for one block
    };

public:
    static constexpr std::size_t EntriesPerBlock =
        (BlockPool::BlockBytes - sizeof(BlockHeader)) / sizeof(TBEncodedData);

private:
    // A new block holding Count entries, chained in; returns its first entry.
    TBEncodedData* AddBlock(std::size_t Count, bool Pooled);
    // Room for Count entries side by side.
    TBEncodedData* Allocate(std::size_t Count);
    void Release() noexcept;

    BlockHeader* FLast = nullptr;
    TBEncodedData* FFree = nullptr;
    std::size_t FFreeCount = 0;
};

}  // namespace seedlens
