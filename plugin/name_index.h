#pragma once
// Finds cache entries by the hash of their file name: open addressing with
// linear probing in one flat table kept at most half full, so that a look-up
// reads a slot or two before it reaches the entry itself.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace seedlens {

template <typename T>
class NameIndex {
public:
    explicit NameIndex(std::size_t ExpectedCount) : FSlots(std::bit_ceil(ExpectedCount * 2 + 1)) {}

    // The first value stored under Hash that Matches accepts, or nullptr.
    template <typename Match>
    T* Find(std::uint64_t Hash, Match&& Matches) const {
        for (std::size_t i = Hash & Mask();; i = (i + 1) & Mask()) {
            const Slot& slot = FSlots[i];
            if (slot.Value == nullptr) return nullptr;
            if (slot.Hash == Hash && Matches(*slot.Value)) return slot.Value;
        }
    }

    // Room for Count values; after it, inserting up to Count values cannot fail.
    void Reserve(std::size_t Count) {
        while (Count * 2 > FSlots.size()) Grow();
    }

    void Insert(std::uint64_t Hash, T* Value) {
        Reserve(FCount + 1);
        Place(Hash, Value);
        ++FCount;
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
        std::vector<Slot> old(FSlots.size() * 2);
        old.swap(FSlots);
        for (const Slot& slot : old)
            if (slot.Value != nullptr) Place(slot.Hash, slot.Value);
    }

    std::vector<Slot> FSlots;
    std::size_t FCount = 0;
};

}  // namespace seedlens
