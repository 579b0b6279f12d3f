// The cache's memory: every block is its own, aligned and whole, however
// the regions and the heap share the work, and a region goes back to the
// system once all it gave is freed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "plugin/cache_memory.h"

namespace seedlens {
namespace {

struct Block {
    unsigned char* Bytes;
    std::size_t Size;
    unsigned char Mark;
};

// Allocates blocks of the given sizes, each filled with a mark of its own,
// checks that no block overwrote another, frees them in a scrambled order.
void AllocateCheckAndFree(const std::vector<std::size_t>& Sizes) {
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < Sizes.size(); ++i) {
        auto* bytes = static_cast<unsigned char*>(cache_memory::Allocate(Sizes[i]));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(bytes) % alignof(std::max_align_t), 0u) << Sizes[i];
        const auto mark = static_cast<unsigned char>(i * 37 + 1);
        std::memset(bytes, mark, Sizes[i]);
        blocks.push_back({bytes, Sizes[i], mark});
    }
    for (const Block& block : blocks)
        ASSERT_TRUE(std::all_of(block.Bytes, block.Bytes + block.Size, [&](unsigned char B) { return B == block.Mark; }))
            << "a block of " << block.Size << " bytes was overwritten";
    std::vector<unsigned char*> starts;
    for (const Block& block : blocks) starts.push_back(block.Bytes);
    std::sort(starts.begin(), starts.end());
    ASSERT_EQ(std::adjacent_find(starts.begin(), starts.end()), starts.end()) << "two blocks share an address";
    std::shuffle(blocks.begin(), blocks.end(), std::mt19937(7));
    for (const Block& block : blocks) cache_memory::Free(block.Bytes, block.Size);
}

TEST(CacheMemory, BlocksAreWholeAndRegionsGoBackWhenEmptied) {
    constexpr std::size_t kRegion = cache_memory::RegionBytes;
    constexpr std::size_t kLargest = cache_memory::MaxRegionBlock;
    const struct {
        const char* Name;
        std::vector<std::size_t> Sizes;
    } cases[] = {
        {"no bytes and one byte", {0, 1, 0}},
        {"sizes around the alignment and the largest region block",
         {15, 16, 17, 31, 4096, kLargest - 1, kLargest, kLargest + 1, 1 << 20}},
        // More than two regions hold: the rest comes from the heap.
        {"three regions' worth of records", std::vector<std::size_t>(3 * kRegion / 1000, 1000)},
        {"largest blocks that leave a region part empty", std::vector<std::size_t>(3 * kRegion / kLargest + 5, kLargest - 100)},
    };
    const std::size_t mappedBefore = cache_memory::MappedRegions();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        AllocateCheckAndFree(c.Sizes);
        EXPECT_EQ(cache_memory::MappedRegions(), mappedBefore);
    }
    cache_memory::Free(nullptr, 0);
}

}  // namespace
}  // namespace seedlens
