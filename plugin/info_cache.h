#pragma once
// The per-file cache: one record per file name, kept sorted by name and
// found by bisection. It never holds more than TrimAbove + 1 entries: past
// that the next request drops the names that sort first, down to TrimTo.
//
// Requests may come from several host threads: look-up, trim and insertion
// run under one lock; loading runs outside it; records are shared, so a
// request still using one is never left holding a freed record by another
// request's trim.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/torrent_info.h"

namespace seedlens {

using TorrentInfoPtr = std::shared_ptr<const TTorrentInfo>;

class InfoCache {
public:
    static constexpr std::size_t TrimAbove = 4096;
    static constexpr std::size_t TrimTo = 3072;

    // Loads the record of a file; nullptr when loading failed.
    using Loader = std::function<TorrentInfoPtr(std::u16string_view FileName)>;
    explicit InfoCache(Loader Load);

    // Trims, then finds FileName's record, loading it on a miss unless
    // ImmediateOnly is set. nullptr on a failed load or an immediate miss;
    // nothing is cached then.
    TorrentInfoPtr GetTorrentInfo(std::u16string_view FileName, bool ImmediateOnly);

    std::size_t Count() const;
    bool Contains(std::u16string_view FileName) const;

private:
    struct Entry {
        std::u16string Key;
        TorrentInfoPtr Info;
    };
    // Position of the first entry not sorting before FileName.
    std::vector<Entry>::const_iterator LowerBound(std::u16string_view FileName) const;
    void TrimLocked();

    Loader FLoad;
    mutable std::mutex FMutex;
    std::vector<Entry> FEntries;
};

// Loads a file the way the plug-in does: a document with poFindEncoding
// alone, condensed into a record. nullptr when anything fails.
TorrentInfoPtr LoadTorrentInfo(std::u16string_view FileName);

}  // namespace seedlens
