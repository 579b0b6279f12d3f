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
// Values follow the file. An entry remembers the file's state when it was
// loaded, and a request that finds it last confirmed more than a second ago
// looks at the file again: a changed file is loaded anew, a gone one is
// forgotten. A look once a second per entry keeps cached requests cheap.
// Requests with the immediate-only flag, which hosts make from their
// interface thread, never touch the file system. Files that opened but did
// not load are remembered too, so that every column of a broken file does
// not read it again.
//
// Requests may come from several host threads: look-up, trim and insertion
// run under one lock; loading and looking at files run outside it; records
// are shared, so a request still using one is never left holding a freed
// record by another request's trim or replacement.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_state.h"
#include "platform/mutex.h"
#include "plugin/cache_memory.h"
#include "plugin/name_index.h"
#include "plugin/torrent_info.h"

namespace seedlens {

using TorrentInfoPtr = std::shared_ptr<const TTorrentInfo>;

// What loading a file found.
struct LoadedFile {
    // The state of the regular file that opened; nothing when none did, and
    // then there is nothing to remember.
    std::optional<platform::FileState> State;
    // nullptr when the file did not load.
    TorrentInfoPtr Info;
};

class InfoCache {
public:
    static constexpr std::size_t TrimAbove = 4096;
    static constexpr std::size_t TrimTo = 3072;
    static constexpr std::size_t TrimAboveBytes = 64 * 1024 * 1024;
    static constexpr std::size_t TrimToBytes = 48 * 1024 * 1024;

    // An entry confirmed this long ago is looked at again.
    static constexpr std::uint64_t ConfirmedForMilliseconds = 1000;

    // Everything by which the cache reaches files and time; tests give their own.
    struct Access {
        std::function<LoadedFile(std::u16string_view FileName)> Load;
        std::function<std::optional<platform::FileState>(std::u16string_view FileName)> Look;
        std::function<std::uint64_t()> Milliseconds;  // never going back
    };
    explicit InfoCache(Access Files);
    ~InfoCache();
    InfoCache(const InfoCache&) = delete;
    InfoCache& operator=(const InfoCache&) = delete;

    // Trims, then finds FileName's record, loading it on a miss unless
    // ImmediateOnly is set. nullptr when the file does not load (now or at
    // its last load, if it has not changed since) and on an immediate miss.
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
    Entry* FindLocked(std::u16string_view FileName, std::uint64_t Hash) const;
    void RemoveLocked(Entry* Doomed);
    // Loads FileName and keeps what a regular file gave, unless a request
    // has inserted an entry for it since InsertionsBefore.
    TorrentInfoPtr LoadAndInsert(std::u16string_view FileName, std::uint64_t Hash, std::uint64_t Now,
                                 std::uint64_t InsertionsBefore);

    Access FFiles;
    mutable platform::Mutex FMutex;
    std::vector<Entry*, cache_memory::Allocator<Entry*>> FEntries;  // owned, in no particular order
    NameIndex<Entry> FIndex;        // the same entries by the hash of their name
    std::uint64_t FInsertions = 0;  // entries ever inserted, the serial of the next one
    std::size_t FHeldBytes = 0;     // what the entries hold, as HeldBytes says
};

// Loads a file the way the plug-in does: a document with poFindEncoding
// alone, condensed into a record.
LoadedFile LoadTorrentInfo(std::u16string_view FileName);

// The plug-in's files and clock.
InfoCache::Access FileSystemAccess();

}  // namespace seedlens
