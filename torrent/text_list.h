#pragma once
// An ordered list of UTF-16 texts with a look-up that ignores letter case.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace seedlens {

class TextList {
public:
    void Add(std::u16string Text) {
        if (FItems.empty()) FItems.reserve(4);  // most lists are short: one allocation, no regrowth
        FItems.push_back(std::move(Text));
    }
    void Insert(std::int32_t Index, std::u16string Text);
    void Clear() { FItems.clear(); }

    // Position of the first entry equal to Text without regard to case, or -1.
    std::int32_t IndexOf(std::u16string_view Text) const;

    std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    const std::u16string& operator[](std::int32_t Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<std::u16string> FItems;
};

}  // namespace seedlens
