#pragma once
// An ordered list of UTF-16 texts with a look-up that ignores letter case.
// The texts lie one after another in one buffer, and the first few ends
// are kept inline: a document's short lists (two or three trackers, one
// web seed) cost one allocation, not one per text.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace seedlens {

class TextList {
public:
    class Iterator;

    void Add(std::u16string_view Text);
    // Puts Text at Index (clamped to 0 to Count), moving later texts on.
    void Insert(std::int32_t Index, std::u16string_view Text);
    void Clear();

    // Position of the first entry equal to Text without regard to case, or -1.
    std::int32_t IndexOf(std::u16string_view Text) const;

    std::int32_t Count() const { return static_cast<std::int32_t>(FCount); }
    bool Empty() const { return FCount == 0; }
    // UTF-16 units of all texts together.
    std::size_t Units() const { return FUnits.size(); }
    // Bytes of memory the list holds, filled or not.
    std::size_t HeldBytes() const { return FUnits.capacity() * sizeof(char16_t) + FMoreEnds.capacity() * sizeof(std::uint32_t); }
    // Entry Index, from 0 to Count - 1.
    std::u16string_view operator[](std::int32_t Index) const { return At(static_cast<std::size_t>(Index)); }
    Iterator begin() const;
    Iterator end() const;

private:
    static constexpr std::size_t kInlineEnds = 4;

    std::u16string_view At(std::size_t Index) const;
    std::size_t End(std::size_t Index) const { return Index < kInlineEnds ? FInlineEnds[Index] : FMoreEnds[Index - kInlineEnds]; }
    void PushEnd(std::size_t End);

    std::u16string FUnits;                               // every text, one after another
    std::array<std::uint32_t, kInlineEnds> FInlineEnds{};  // where the first texts end
    std::vector<std::uint32_t> FMoreEnds;                 // where the others end
    std::size_t FCount = 0;
};

// Walks the texts in order, as views into the list.
class TextList::Iterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::u16string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::u16string_view;

    Iterator() = default;
    Iterator(const TextList* List, std::size_t Index) : FList(List), FIndex(Index) {}
    std::u16string_view operator*() const { return FList->At(FIndex); }
    Iterator& operator++() {
        ++FIndex;
        return *this;
    }
    Iterator operator++(int) {
        Iterator before = *this;
        ++FIndex;
        return before;
    }
    bool operator==(const Iterator& Other) const { return FIndex == Other.FIndex; }

private:
    const TextList* FList = nullptr;
    std::size_t FIndex = 0;
};

inline TextList::Iterator TextList::begin() const { return {this, 0}; }
inline TextList::Iterator TextList::end() const { return {this, FCount}; }

}  // namespace seedlens
