#pragma once
// The tracker addresses a document already holds, found by hashing their
// case-insensitive keys: a hostile list of a million addresses must not
// cost a million comparisons per address.

#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/text_compare.h"

namespace seedlens {

class TrackerSet {
public:
    // Adds Address; false when an address equal to it without regard to
    // case was there already.
    bool Insert(std::u16string_view Address) { return FKeys.insert(platform::CaseInsensitiveKey(Address)).second; }
    bool Contains(std::u16string_view Address) const {
        return FKeys.count(platform::CaseInsensitiveKey(Address)) != 0;
    }

private:
    std::unordered_set<std::u16string> FKeys;
};

}  // namespace seedlens
