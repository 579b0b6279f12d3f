#pragma once
// Blocks of raw memory recycled between trees. Every load builds a tree and
// frees it; memory fresh from the system costs a page fault per page, which
// for a small torrent is more than parsing it. A few blocks are kept for the
// next tree instead, shared by all threads, and freed when the plug-in is
// unloaded.

#include <cstddef>
#include <new>

namespace seedlens {

class BlockPool {
public:
    static constexpr std::size_t BlockBytes = 256 * 1024;
    // At most this many free blocks are kept (4 MiB in all).
    static constexpr std::size_t MaxKept = 16;

    // A block of BlockBytes bytes, uninitialised.
    static void* Take();
    // Returns a block from Take; it is kept or freed.
    static void Give(void* Block) noexcept;
};

}  // namespace seedlens
