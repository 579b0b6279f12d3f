#include "plugin/info_cache.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/read_only_file.h"
#include "platform/text_compare.h"
#include "plugin/cache_memory.h"
#include "plugin/spare_document.h"

namespace seedlens {

namespace {

// A quick hash of a file name's key. File names are the host's, not an
// attacker's, and the index stays at most half full: speed matters more
// than resistance to crafted collisions.
std::uint64_t NameHash(std::u16string_view Key) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    const auto* bytes = reinterpret_cast<const unsigned char*>(Key.data());
    const std::size_t size = Key.size() * sizeof(char16_t);
    std::uint64_t hash = size * kMultiplier;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    }
    for (; i < size; ++i) hash = (hash ^ bytes[i]) * kMultiplier;
    return hash ^ (hash >> 32);
}

std::uint64_t HashOfName(std::u16string_view FileName) {
    std::u16string storage;
    return NameHash(platform::FileNameKey(FileName, storage));
}

}  // namespace

// The name's units follow the entry in the same allocation: a hit reads the
// entry and its name from neighbouring memory. A failed load has no record.
class InfoCache::Entry {
public:
    struct Deleter {
        void operator()(Entry* Doomed) const noexcept {
            const std::size_t bytes = BytesFor(Doomed->Name().size());
            Doomed->~Entry();
            cache_memory::Free(Doomed, bytes);
        }
    };
    using Owner = std::unique_ptr<Entry, Deleter>;

    // What a request saw of an entry due for a look, while it looks.
    struct Seen {
        std::uint64_t Serial;
        platform::FileState State;
        TorrentInfoPtr Info;
    };

    static Owner Make(std::u16string_view Name, std::uint64_t Hash, const platform::FileState& State,
                      std::uint64_t ConfirmedAt, TorrentInfoPtr Info) {
        void* memory = cache_memory::Allocate(BytesFor(Name.size()));
        Entry* entry = ::new (memory) Entry(Name.size(), Hash, State, ConfirmedAt, std::move(Info));
        std::memcpy(static_cast<void*>(entry + 1), Name.data(), Name.size() * sizeof(char16_t));
        return Owner(entry);
    }

    static std::size_t BytesFor(std::size_t NameLength) { return sizeof(Entry) + NameLength * sizeof(char16_t); }
    std::u16string_view Name() const { return {reinterpret_cast<const char16_t*>(this + 1), FLength}; }
    std::uint64_t Hash() const { return FHash; }
    const TorrentInfoPtr& Info() const { return FInfo; }
    std::size_t HeldBytes() const {
        return sizeof(Entry) + FLength * sizeof(char16_t) + (FInfo ? FInfo->HeldBytes() : 0);
    }

    bool DueForLook(std::uint64_t Now) const { return Now > FConfirmedAt + ConfirmedForMilliseconds; }
    void Confirm(std::uint64_t Now) { FConfirmedAt = std::max(FConfirmedAt, Now); }
    Seen SeenNow() const { return {FSerial, FState, FInfo}; }
    std::uint64_t Serial() const { return FSerial; }
    void SetSerial(std::uint64_t Serial) { FSerial = Serial; }

private:
    Entry(std::size_t Length, std::uint64_t Hash, const platform::FileState& State, std::uint64_t ConfirmedAt,
          TorrentInfoPtr Info)
        : FLength(Length), FHash(Hash), FInfo(std::move(Info)), FConfirmedAt(ConfirmedAt), FState(State) {}

    // What a hit reads comes first.
    std::size_t FLength;
    std::uint64_t FHash;
    TorrentInfoPtr FInfo;
    std::uint64_t FConfirmedAt;  // when the file was last found in FState
    platform::FileState FState;  // the file's when it was loaded
    std::uint64_t FSerial = 0;   // tells this entry from a later one of the same name
};

// The index starts small and doubles: a small cache's index stays in the
// processor's caches, where every miss on a new file probes it twice.
InfoCache::InfoCache(Access Files) : FFiles(std::move(Files)), FIndex(32) {
    cache_memory::OutliveCallers();  // entries and records go back to it when the cache goes
}

InfoCache::~InfoCache() {
    for (Entry* entry : FEntries) Entry::Deleter()(entry);
}

void InfoCache::TrimLocked() {
    const bool tooMany = FEntries.size() > TrimAbove;
    const bool tooLarge = FHeldBytes > TrimAboveBytes;
    if (!tooMany && !tooLarge) return;
    const auto byName = [](const Entry* A, const Entry* B) {
        return platform::CompareFileNames(A->Name(), B->Name()) < 0;
    };
    // The names that sort first go, in one sweep rather than one per
    // insertion; names are unique, so the selection splits them exactly.
    auto keep = FEntries.begin();
    if (tooMany) {
        keep = FEntries.end() - static_cast<std::ptrdiff_t>(TrimTo);
        std::nth_element(FEntries.begin(), keep, FEntries.end(), byName);
    }
    std::size_t kept = FHeldBytes;
    for (auto it = FEntries.begin(); it != keep; ++it) kept -= (*it)->HeldBytes();
    if (tooLarge && kept >= TrimToBytes) {
        // Every name still kept sorts after those going: go on in name order.
        std::sort(keep, FEntries.end(), byName);
        while (kept >= TrimToBytes) kept -= (*keep++)->HeldBytes();
    }
    for (auto it = FEntries.begin(); it != keep; ++it) Entry::Deleter()(*it);
    FEntries.erase(FEntries.begin(), keep);
    FHeldBytes = kept;
    FIndex.Clear();
    for (Entry* entry : FEntries) FIndex.Insert(entry->Hash(), entry);
}

InfoCache::Entry* InfoCache::FindLocked(std::u16string_view FileName, std::uint64_t Hash) const {
    return FIndex.Find(Hash, [&](const Entry& E) { return platform::CompareFileNames(E.Name(), FileName) == 0; });
}

void InfoCache::RemoveLocked(Entry* Doomed) {
    FIndex.Remove(Doomed->Hash(), Doomed);
    *std::find(FEntries.begin(), FEntries.end(), Doomed) = FEntries.back();
    FEntries.pop_back();
    FHeldBytes -= Doomed->HeldBytes();
    Entry::Deleter()(Doomed);
}

TorrentInfoPtr InfoCache::GetTorrentInfo(std::u16string_view FileName, bool ImmediateOnly) {
    const std::uint64_t hash = HashOfName(FileName);
    const std::uint64_t now = ImmediateOnly ? 0 : FFiles.Milliseconds();
    std::optional<Entry::Seen> due;
    std::uint64_t insertionsBefore = 0;
    {
        const std::lock_guard lock(FMutex);
        TrimLocked();
        if (const Entry* found = FindLocked(FileName, hash)) {
            // An immediate request answers from the entry as it is.
            if (ImmediateOnly || !found->DueForLook(now)) return found->Info();
            due = found->SeenNow();
        } else if (ImmediateOnly) {
            return nullptr;
        }
        insertionsBefore = FInsertions;
    }
    if (due) {
        // Looking at the file may be slow: never under the lock.
        const bool unchanged = FFiles.Look(FileName) == due->State;
        const std::lock_guard lock(FMutex);
        Entry* found = FindLocked(FileName, hash);
        const bool same = found != nullptr && found->Serial() == due->Serial;
        if (unchanged) {
            if (same) found->Confirm(now);
            return due->Info;
        }
        if (!same && found != nullptr) return found->Info();  // loaded anew by another request meanwhile
        if (same) RemoveLocked(found);
        insertionsBefore = FInsertions;
    }
    return LoadAndInsert(FileName, hash, now, insertionsBefore);
}

TorrentInfoPtr InfoCache::LoadAndInsert(std::u16string_view FileName, std::uint64_t Hash, std::uint64_t Now,
                                        std::uint64_t InsertionsBefore) {
    // Loading reads the file: never under the lock.
    LoadedFile loaded = FFiles.Load(FileName);
    if (!loaded.State) return nullptr;

    Entry::Owner entry = Entry::Make(FileName, Hash, *loaded.State, Now, loaded.Info);
    const std::lock_guard lock(FMutex);
    // Another thread may have loaded the same file meanwhile: keep one entry.
    // Only an insertion since the miss can have added it.
    if (FInsertions != InsertionsBefore)
        if (const Entry* earlier = FindLocked(FileName, Hash)) return earlier->Info();
    // Whatever may fail comes first, so that both stay alike. The list takes
    // its whole room at once, on the first insertion: a cache never used
    // takes no memory.
    if (FEntries.capacity() == 0) FEntries.reserve(TrimAbove + 1);
    FIndex.Reserve(FEntries.size() + 1);
    FEntries.push_back(entry.get());
    FHeldBytes += entry->HeldBytes();
    entry->SetSerial(FInsertions++);
    FIndex.Insert(Hash, entry.release());
    if (FHeldBytes > TrimAboveBytes) TrimLocked();
    return loaded.Info;
}

std::size_t InfoCache::Count() const {
    const std::lock_guard lock(FMutex);
    return FEntries.size();
}

std::size_t InfoCache::HeldBytes() const {
    const std::lock_guard lock(FMutex);
    return FHeldBytes;
}

bool InfoCache::Contains(std::u16string_view FileName) const {
    const std::uint64_t hash = HashOfName(FileName);
    const std::lock_guard lock(FMutex);
    return FindLocked(FileName, hash) != nullptr;
}

LoadedFile LoadTorrentInfo(std::u16string_view FileName) {
    // Shared by every cache and thread; freed when the module leaves memory.
    static SpareDocument spare;
    LoadedFile loaded;
    try {
        const auto file = platform::ReadOnlyFile::Open(FileName);
        if (!file) return loaded;
        loaded.State = file->State();
        SpareDocument::Loan loan(spare);
        TTorrentFile& document = loan.Document();
        document.ParseOptions = {TParseOptionsKind::poFindEncoding, TParseOptionsKind::poFieldsOnly};
        document.LoadFileHandle(*file);
        loaded.Info = TTorrentInfo::Shared(document);
    } catch (const std::bad_alloc&) {
        return {};  // says nothing about the file: not remembered
    } catch (...) {
        // What the file holds does not load: remembered with its state.
    }
    return loaded;
}

InfoCache::Access FileSystemAccess() {
    return {LoadTorrentInfo, platform::LookAtFileState, platform::MonotonicMilliseconds};
}

}  // namespace seedlens
