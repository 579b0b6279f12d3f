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

// An allocator for containers whose allocations mostly fit one block.
template <typename T>
struct BlockPoolAllocator {
    using value_type = T;
    BlockPoolAllocator() = default;
    template <typename U>
    BlockPoolAllocator(const BlockPoolAllocator<U>&) {}

    T* allocate(std::size_t Count) {
        if (Count * sizeof(T) <= BlockPool::BlockBytes) return static_cast<T*>(BlockPool::Take());
        return static_cast<T*>(::operator new(Count * sizeof(T)));
    }
    void deallocate(T* Block, std::size_t Count) noexcept {
        if (Count * sizeof(T) <= BlockPool::BlockBytes)
            BlockPool::Give(Block);
        else
            ::operator delete(Block);
    }
    template <typename U>
    bool operator==(const BlockPoolAllocator<U>&) const { return true; }
};

}  // namespace seedlens
