#pragma once
// Which tracker addresses a document's list already holds, without regard
// to case. A short list is simply searched; past LinearLimit addresses the
// set hashes case-insensitive keys, so a hostile list of a million
// addresses does not cost a million comparisons per address.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/text_compare.h"
#include "torrent/text_list.h"

namespace seedlens {

class TrackerSet {
public:
    static constexpr std::int32_t LinearLimit = 32;

    // The set of what Trackers holds; only addresses that Insert accepted
    // may be added to that list.
    explicit TrackerSet(const TextList& Trackers) : FTrackers(Trackers) {}

    // True when Address is new; the caller then adds it to the list.
    bool Insert(std::u16string_view Address) {
        if (Contains(Address)) return false;
        if (FHashed) FKeys.insert(platform::CaseInsensitiveKey(Address));
        return true;
    }

    // Address is the one to look out for among the addresses not listed
    // (NoteUnlisted): the announce address, which goes first unless the
    // list holds it.
    void Watch(std::u16string_view Address) { FWatched = Address; }
    // Address is in the list but not kept: no field shows that far.
    void NoteUnlisted(std::u16string_view Address) {
        if (!FWatchedSeen && !FWatched.empty()) FWatchedSeen = platform::EqualIgnoringCase(Address, FWatched);
    }

    bool Contains(std::u16string_view Address) {
        if (FWatchedSeen && platform::EqualIgnoringCase(Address, FWatched)) return true;
        if (!FHashed && FTrackers.Count() < LinearLimit) return FTrackers.IndexOf(Address) >= 0;
        if (!FHashed) {
            for (const std::u16string_view known : FTrackers) FKeys.insert(platform::CaseInsensitiveKey(known));
            FHashed = true;
        }
        return FKeys.count(platform::CaseInsensitiveKey(Address)) != 0;
    }

private:
    const TextList& FTrackers;
    bool FHashed = false;
    std::u16string FWatched;
    bool FWatchedSeen = false;
    std::unordered_set<std::u16string> FKeys;
};

}  // namespace seedlens
