#include "torrent/text_list.h"

#include <algorithm>
#include <stdexcept>

#include "platform/text_compare.h"

namespace seedlens {

namespace {
// Offsets are 32-bit; no document holds texts anywhere near that long, since
// no file larger than 256 MiB is read.
constexpr std::size_t kMaxUnits = UINT32_MAX;
}  // namespace

void TextList::Add(std::u16string_view Text) {
    if (FUnits.size() + Text.size() > kMaxUnits) throw std::length_error("text list too long");
    // Most lists are short: room for a few addresses at once, no regrowth.
    if (FUnits.capacity() < 128) FUnits.reserve(128);
    FUnits.append(Text);
    PushEnd(FUnits.size());
}

void TextList::PushEnd(std::size_t End) {
    if (FCount < kInlineEnds)
        FInlineEnds[FCount] = static_cast<std::uint32_t>(End);
    else
        FMoreEnds.push_back(static_cast<std::uint32_t>(End));
    ++FCount;
}

void TextList::Insert(std::int32_t Index, std::u16string_view Text) {
    const auto at = static_cast<std::size_t>(std::clamp<std::int32_t>(Index, 0, Count()));
    // Rare (the announce URL in front of its list): rebuilt in one pass.
    TextList rebuilt;
    for (std::size_t i = 0; i < FCount; ++i) {
        if (i == at) rebuilt.Add(Text);
        rebuilt.Add(At(i));
    }
    if (at == FCount) rebuilt.Add(Text);
    *this = std::move(rebuilt);
}

void TextList::Clear() {
    FUnits.clear();
    FMoreEnds.clear();
    FCount = 0;
}

std::u16string_view TextList::At(std::size_t Index) const {
    if (Index >= FCount) throw std::out_of_range("no such text");
    const std::size_t start = Index == 0 ? 0 : End(Index - 1);
    return std::u16string_view(FUnits).substr(start, End(Index) - start);
}

std::int32_t TextList::IndexOf(std::u16string_view Text) const {
    for (std::size_t i = 0; i < FCount; ++i)
        if (platform::EqualIgnoringCase(At(i), Text)) return static_cast<std::int32_t>(i);
    return -1;
}

}  // namespace seedlens
