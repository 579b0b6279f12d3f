#pragma once
// Storage for the entries of every list and dictionary of one tree.
// Each list's entries are stored together, so a list is a pointer and a
// count; blocks never move, so those pointers stay valid for the tree's life.

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "bencode/bencoded.h"

namespace seedlens {

class EntryArena {
public:
    // Copies Entries into the arena and returns where they now live
    // (nullptr for none).
    const TBEncodedData* Store(std::span<const TBEncodedData> Entries);

private:
    std::vector<std::unique_ptr<TBEncodedData[]>> FBlocks;
    TBEncodedData* FFree = nullptr;
    std::size_t FFreeCount = 0;
    std::size_t FNextBlockSize = 64;
};

}  // namespace seedlens
