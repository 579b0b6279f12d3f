#include "bencode/entry_arena.h"

#include <algorithm>

namespace seedlens {

namespace {
// Blocks grow geometrically up to this many entries, so that a large tree
// needs few allocations and a small one wastes little; blocks stay below
// the size at which malloc maps fresh pages for each one.
constexpr std::size_t kLargestBlock = 2048;
}  // namespace

const TBEncodedData* EntryArena::Store(std::span<const TBEncodedData> Entries) {
    if (Entries.empty()) return nullptr;
    if (Entries.size() > FFreeCount) {
        const std::size_t size = std::max(Entries.size(), FNextBlockSize);
        FBlocks.push_back(std::make_unique<TBEncodedData[]>(size));
        FFree = FBlocks.back().get();
        FFreeCount = size;
        FNextBlockSize = std::min(FNextBlockSize * 2, kLargestBlock);
    }
    TBEncodedData* stored = FFree;
    std::copy(Entries.begin(), Entries.end(), stored);
    FFree += Entries.size();
    FFreeCount -= Entries.size();
    return stored;
}

}  // namespace seedlens
