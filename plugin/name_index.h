#pragma once
// Finds cache entries by the hash of their file name: open addressing with
// linear probing in one flat table kept at most half full, so that a look-up
// reads a slot or two before it reaches the entry itself.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "plugin/cache_memory.h"

namespace seedlens {

template <typename T>
class NameIndex {
public:
    // The table is made on the first insertion: an index never used takes no memory.
    explicit NameIndex(std::size_t ExpectedCount) : FFirstSize(std::bit_ceil(ExpectedCount * 2 + 1)) {}

    // The first value stored under Hash that Matches accepts, or nullptr.
    template <typename Match>
    T* Find(std::uint64_t Hash, Match&& Matches) const {
        if (FSlots.empty()) return nullptr;
        for (std::size_t i = Hash & Mask();; i = (i + 1) & Mask()) {
            const Slot& slot = FSlots[i];
            if (slot.Value == nullptr) return nullptr;
            if (slot.Hash == Hash && Matches(*slot.Value)) return slot.Value;
        }
    }

    // Room for Count values; after it, inserting up to Count values cannot fail.
    void Reserve(std::size_t Count) {
        if (FSlots.empty()) FSlots.resize(FFirstSize);
        while (Count * 2 > FSlots.size()) Grow();
    }

    void Insert(std::uint64_t Hash, T* Value) {
        Reserve(FCount + 1);
        Place(Hash, Value);
        ++FCount;
    }

    // Removes Value, stored under Hash. The values after it in its run move
    // back, so that every value stays reachable from its home slot.
    void Remove(std::uint64_t Hash, const T* Value) {
        std::size_t free = Hash & Mask();
        while (FSlots[free].Value != Value) free = (free + 1) & Mask();
        for (std::size_t i = (free + 1) & Mask(); FSlots[i].Value != nullptr; i = (i + 1) & Mask()) {
            // A value may fill the free slot if the slot lies between its home and where it is.
            if (((i - FSlots[i].Hash) & Mask()) < ((i - free) & Mask())) continue;
            FSlots[free] = FSlots[i];
            free = i;
        }
        FSlots[free] = Slot{};
        --FCount;
    }

    void Clear() {
        std::fill(FSlots.begin(), FSlots.end(), Slot{});
        FCount = 0;
    }

private:
    struct Slot {
        std::uint64_t Hash = 0;
        T* Value = nullptr;  // nullptr: free
    };

    std::size_t Mask() const { return FSlots.size() - 1; }

    void Place(std::uint64_t Hash, T* Value) {
        std::size_t i = Hash & Mask();
        while (FSlots[i].Value != nullptr) i = (i + 1) & Mask();
        FSlots[i] = {Hash, Value};
    }

    void Grow() {
        Slots old(FSlots.size() * 2);
        old.swap(FSlots);
        for (const Slot& slot : old)
            if (slot.Value != nullptr) Place(slot.Hash, slot.Value);
    }

    using Slots = std::vector<Slot, cache_memory::Allocator<Slot>>;
    std::size_t FFirstSize;
    Slots FSlots;
    std::size_t FCount = 0;
};

}  // namespace seedlens
