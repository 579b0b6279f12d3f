#pragma once
// Storage for the entries of every list and dictionary of one tree.
// Each list's entries are stored together, so a list is a pointer and a
// count; blocks never move, so those pointers stay valid for the tree's life.
// The blocks are chained through a header at their start: keeping track of
// them allocates nothing. The first entries go into room inside the arena
// itself, so a small torrent's tree takes no block at all.

#include <cstddef>
#include <span>

#include "bencode/bencoded.h"
#include "bencode/block_pool.h"

namespace seedlens {

class EntryArena {
public:
    // Entries stored in the arena itself before any block is taken.
    static constexpr std::size_t InlineEntries = 64;

    EntryArena() = default;
    ~EntryArena();
    // Entries may live inside the arena: it never moves.
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

    alignas(TBEncodedData) std::byte FInline[InlineEntries * sizeof(TBEncodedData)];
    BlockHeader* FLast = nullptr;
    TBEncodedData* FFree = reinterpret_cast<TBEncodedData*>(FInline);
    std::size_t FFreeCount = InlineEntries;
};

}  // namespace seedlens
