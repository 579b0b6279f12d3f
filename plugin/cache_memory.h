#pragma once
// Memory for the cache's entries and records. Small blocks come from a
// region of 2 MiB that asks the system for huge pages: a cache filling up
// with a folder's torrents then takes one page fault per 2 MiB instead of
// one per 4 KiB, and on a virtual machine those faults cost more than
// loading the small torrents themselves. Until 64 KiB is held in small
// blocks they come from the heap. Blocks are handed out in order
// and not reused; a region goes back to the system once every block it
// gave is freed, so the memory leaves with the cache that used it. At most
// two regions exist at a time (4 MiB); beyond them, and for large blocks
// such as a hostile torrent's long texts, blocks come from the heap, as
// every block does under AddressSanitizer. Every function may be called
// from any thread.

#include <cstddef>

namespace seedlens::cache_memory {

constexpr std::size_t RegionBytes = 2 * 1024 * 1024;
constexpr std::size_t MaxRegions = 2;
constexpr std::size_t MaxRegionBlock = 64 * 1024;  // larger blocks come from the heap
// Regions serve once this much is held in small blocks: a cache of a few
// files would not repay a huge page's fault.
constexpr std::size_t RegionsFromBytes = 64 * 1024;

// At least Bytes bytes, aligned as operator new aligns; throws std::bad_alloc.
void* Allocate(std::size_t Bytes);
// Frees what Allocate gave for the same Bytes; nullptr is ignored.
void Free(void* Block, std::size_t Bytes) noexcept;

// Makes the regions outlive whatever calls this in its constructor, such
// as the cache that the module keeps until it leaves memory.
void OutliveCallers();

// The regions mapped now, for tests.
std::size_t MappedRegions();

// For the cache's containers: its index and its list of entries.
template <typename T>
struct Allocator {
    using value_type = T;
    Allocator() = default;
    template <typename U>
    Allocator(const Allocator<U>&) noexcept {}
    T* allocate(std::size_t Count) { return static_cast<T*>(Allocate(Count * sizeof(T))); }
    void deallocate(T* Block, std::size_t Count) noexcept { Free(Block, Count * sizeof(T)); }
    template <typename U>
    bool operator==(const Allocator<U>&) const noexcept { return true; }
};

}  // namespace seedlens::cache_memory
