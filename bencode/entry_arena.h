#pragma once
// Storage for the entries of every list and dictionary of one tree.
// Each list's entries are stored together, so a list is a pointer and a
// count; blocks never move, so those pointers stay valid for the tree's life.

#include <cstddef>
#include <span>
#include <vector>

#include "bencode/bencoded.h"

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

    static constexpr std::size_t EntriesPerBlock = 5461;  // what fits a pool block

private:
    struct Block {
        void* Memory;
        bool Pooled;  // from the block pool, or a list too large for one block
    };
    void Release() noexcept;

    std::vector<Block> FBlocks;
    TBEncodedData* FFree = nullptr;
    std::size_t FFreeCount = 0;
};

}  // namespace seedlens
