#include "torrent/text_list.h"

#include <algorithm>

#include "platform/text_compare.h"

namespace seedlens {

void TextList::Insert(std::int32_t Index, std::u16string Text) {
    const auto at = static_cast<std::size_t>(std::clamp<std::int32_t>(Index, 0, Count()));
    FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(at), std::move(Text));
}

std::int32_t TextList::IndexOf(std::u16string_view Text) const {
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (platform::EqualIgnoringCase(FItems[i], Text)) return static_cast<std::int32_t>(i);
    return -1;
}

}  // namespace seedlens
