#include "plugin/cache_memory.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <new>

#include "platform/large_buffer.h"
#include "platform/mutex.h"

namespace seedlens::cache_memory {

namespace {

// As operator new aligns, so that a block may move between the two.
constexpr std::size_t kAlignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

// Under AddressSanitizer every block comes from the heap, where it checks
// each record's bounds; blocks side by side in a region would hide overruns.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kRegions = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kRegions = false;
#else
constexpr bool kRegions = true;
#endif
#else
constexpr bool kRegions = true;
#endif

struct Region {
    char* Base = nullptr;  // nullptr: not mapped
    std::size_t Used = 0;  // bytes handed out, from Base on
    std::size_t Live = 0;  // blocks handed out and not yet freed

    bool Holds(const void* Block) const {
        const auto* byte = static_cast<const char*>(Block);
        return Base != nullptr && byte >= Base && byte < Base + RegionBytes;
    }
};

class Regions {
public:
    // A small block of Bytes (rounded up) from the region being filled, or
    // nullptr when the heap is to give it.
    void* Take(std::size_t Bytes) {
        const std::lock_guard lock(FMutex);
        FHeldSmall += Bytes;
        if (FHeldSmall < RegionsFromBytes) return nullptr;
        Region* region = FFilling < MaxRegions ? &FRegions[FFilling] : nullptr;
        if (region == nullptr || region->Used + Bytes > RegionBytes) {
            // The full region stays until its last block is freed.
            region = MapFreeSlot();
            if (region == nullptr) return nullptr;
        }
        void* block = region->Base + region->Used;
        region->Used += Bytes;
        ++region->Live;
        return block;
    }

    // Whether the small block Block of Bytes came from a region; it is
    // freed if so.
    bool Give(void* Block, std::size_t Bytes) noexcept {
        char* emptied = nullptr;
        {
            const std::lock_guard lock(FMutex);
            FHeldSmall -= Bytes;
            Region* region = Holding(Block);
            if (region == nullptr) return false;
            if (--region->Live == 0) {
                emptied = region->Base;
                Forget(*region);
            }
        }
        // No system call under the lock: other threads' requests wait on it.
        platform::FreeLargeBuffer(emptied, RegionBytes);
        return true;
    }

    std::size_t Mapped() {
        const std::lock_guard lock(FMutex);
        std::size_t mapped = 0;
        for (const Region& region : FRegions) mapped += region.Base != nullptr ? 1 : 0;
        return mapped;
    }

private:
    Region* Holding(const void* Block) {
        for (Region& region : FRegions)
            if (region.Holds(Block)) return &region;
        return nullptr;
    }

    // A new region to fill in a free slot, or nullptr. Mapping happens at
    // most once per 2 MiB of blocks, so it may run under the lock.
    Region* MapFreeSlot() {
        FFilling = MaxRegions;
        if (FMappingFailed) return nullptr;
        for (std::size_t i = 0; i < MaxRegions; ++i) {
            if (FRegions[i].Base != nullptr) continue;
            void* base = nullptr;
            try {
                base = platform::ReserveLargeBuffer(RegionBytes);
                platform::CommitLargeBuffer(base, RegionBytes);
            } catch (const std::bad_alloc&) {
                // The system is short of memory: the heap serves from now on,
                // rather than every block trying again.
                platform::FreeLargeBuffer(base, RegionBytes);
                FMappingFailed = true;
                return nullptr;
            }
            FRegions[i] = {static_cast<char*>(base), 0, 0};
            FFilling = i;
            return &FRegions[i];
        }
        return nullptr;
    }

    void Forget(Region& Emptied) noexcept {
        if (FFilling < MaxRegions && &FRegions[FFilling] == &Emptied) FFilling = MaxRegions;
        Emptied = {};
    }

    platform::Mutex FMutex;
    std::array<Region, MaxRegions> FRegions{};
    std::size_t FFilling = MaxRegions;  // the region blocks come from; MaxRegions: none
    bool FMappingFailed = false;
    std::size_t FHeldSmall = 0;  // bytes of small blocks given and not yet freed, wherever they are
};

Regions& TheRegions() {
    static Regions regions;
    return regions;
}

std::size_t Rounded(std::size_t Bytes) {
    // Even an empty block gets a byte of its own, inside its region.
    return (std::max<std::size_t>(Bytes, 1) + kAlignment - 1) / kAlignment * kAlignment;
}

}  // namespace

void* Allocate(std::size_t Bytes) {
    const std::size_t rounded = Rounded(Bytes);
    if (kRegions && rounded <= MaxRegionBlock)
        if (void* block = TheRegions().Take(rounded)) return block;
    return ::operator new(Bytes);
}

void Free(void* Block, std::size_t Bytes) noexcept {
    if (Block == nullptr) return;
    const std::size_t rounded = Rounded(Bytes);
    if (kRegions && rounded <= MaxRegionBlock && TheRegions().Give(Block, rounded)) return;
    ::operator delete(Block);
}

std::size_t MappedRegions() { return TheRegions().Mapped(); }

void OutliveCallers() { TheRegions(); }

}  // namespace seedlens::cache_memory
