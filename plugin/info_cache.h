#pragma once
// The per-file cache: one record per file name, found through a hash index
// of the names. Once it holds more than TrimAbove entries, the next request
// drops the names that sort first, down to TrimTo. Hostile torrents hold up
// to 64 KiB per text, so the cache is bounded in bytes too: once an
// insertion takes what its entries hold past TrimAboveBytes, the names that
// sort first go until they hold less than TrimToBytes. The entries are put
// in name order only then, by selection: keeping them sorted all the time
// would cost every new file a bisection through names spread over memory
// and a move of the entries after it.
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

#include "platform/mutex.h"
#include "plugin/name_index.h"
#include "plugin/torrent_info.h"

namespace seedlens {

using TorrentInfoPtr = std::shared_ptr<const TTorrentInfo>;

class InfoCache {
public:
    static constexpr std::size_t TrimAbove = 4096;
    static constexpr std::size_t TrimTo = 3072;
    static constexpr std::size_t TrimAboveBytes = 64 * 1024 * 1024;
    static constexpr std::size_t TrimToBytes = 48 * 1024 * 1024;

    // Loads the record of a file; nullptr when loading failed.
    using Loader = std::function<TorrentInfoPtr(std::u16string_view FileName)>;
    explicit InfoCache(Loader Load);
    ~InfoCache();
    InfoCache(const InfoCache&) = delete;
    InfoCache& operator=(const InfoCache&) = delete;

    // Trims, then finds FileName's record, loading it on a miss unless
    // ImmediateOnly is set. nullptr on a failed load or an immediate miss;
    // nothing is cached then.
    TorrentInfoPtr GetTorrentInfo(std::u16string_view FileName, bool ImmediateOnly);

    std::size_t Count() const;
    // What the entries hold: each one, its name, its record and the texts.
    // A record still in use elsewhere no longer counts once it has left.
    std::size_t HeldBytes() const;
    bool Contains(std::u16string_view FileName) const;

private:
    // One cached file, its name stored right behind it (defined with the cache).
    class Entry;

    void TrimLocked();
    TorrentInfoPtr FindLocked(std::u16string_view FileName, std::uint64_t Hash) const;

    Loader FLoad;
    mutable platform::Mutex FMutex;
    std::vector<Entry*> FEntries;  // owned, in no particular order
    NameIndex<Entry> FIndex;        // the same entries by the hash of their name
    std::uint64_t FInsertions = 0;  // entries ever inserted
    std::size_t FHeldBytes = 0;     // what the entries hold, as HeldBytes says
};

// Loads a file the way the plug-in does: a document with poFindEncoding
// alone, condensed into a record. nullptr when anything fails.
TorrentInfoPtr LoadTorrentInfo(std::u16string_view FileName);

}  // namespace seedlens
