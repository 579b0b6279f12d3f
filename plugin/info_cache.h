#pragma once
// The per-file cache: one record per file name, kept sorted by name; new
// names find their place by bisection. It never holds more than TrimAbove + 1
// entries: past that the next request drops the names that sort first, down
// to TrimTo. A hash index beside the sorted entries answers hits without
// touching a dozen keys spread over memory.
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
#include <unordered_map>
#include <vector>

#include "platform/mutex.h"
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
        std::u16string Name;  // as the host gave it
        TorrentInfoPtr Info;
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view Key) const { return std::hash<std::u16string_view>()(Key); }
    };
    // Entries by FileNameKey; their nodes never move, so the sorted order
    // below can point at them.
    using Index = std::unordered_map<std::u16string, Entry, KeyHash, std::equal_to<>>;
    using Node = Index::value_type;

    // Position of the first entry not sorting before FileName.
    std::vector<const Node*>::const_iterator LowerBound(std::u16string_view FileName) const;
    void TrimLocked();
    TorrentInfoPtr FindLocked(std::u16string_view FileName) const;

    Loader FLoad;
    mutable platform::Mutex FMutex;
    Index FIndex;
    std::vector<const Node*> FSorted;  // the same entries, sorted by CompareFileNames
};

// Loads a file the way the plug-in does: a document with poFindEncoding
// alone, condensed into a record. nullptr when anything fails.
TorrentInfoPtr LoadTorrentInfo(std::u16string_view FileName);

}  // namespace seedlens
