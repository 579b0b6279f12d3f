#include "plugin/info_cache.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/text_compare.h"
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
// entry and its name from neighbouring memory.
class InfoCache::Entry {
public:
    struct Deleter {
        void operator()(Entry* Doomed) const noexcept {
            Doomed->~Entry();
            ::operator delete(Doomed);
        }
    };
    using Owner = std::unique_ptr<Entry, Deleter>;

    static Owner Make(std::u16string_view Name, std::uint64_t Hash, TorrentInfoPtr Info) {
        void* memory = ::operator new(sizeof(Entry) + Name.size() * sizeof(char16_t));
        Entry* entry = ::new (memory) Entry(Name.size(), Hash, std::move(Info));
        std::memcpy(static_cast<void*>(entry + 1), Name.data(), Name.size() * sizeof(char16_t));
        return Owner(entry);
    }

    std::u16string_view Name() const { return {reinterpret_cast<const char16_t*>(this + 1), FLength}; }
    std::uint64_t Hash() const { return FHash; }
    const TorrentInfoPtr& Info() const { return FInfo; }
    std::size_t HeldBytes() const { return sizeof(Entry) + FLength * sizeof(char16_t) + FInfo->HeldBytes(); }

private:
    Entry(std::size_t Length, std::uint64_t Hash, TorrentInfoPtr Info)
        : FLength(Length), FHash(Hash), FInfo(std::move(Info)) {}

    std::size_t FLength;
    std::uint64_t FHash;
    TorrentInfoPtr FInfo;
};

// The index starts small and doubles: a small cache's index stays in the
// processor's caches, where every miss on a new file probes it twice.
InfoCache::InfoCache(Loader Load) : FLoad(std::move(Load)), FIndex(32) {
    FEntries.reserve(TrimAbove + 1);
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

TorrentInfoPtr InfoCache::FindLocked(std::u16string_view FileName, std::uint64_t Hash) const {
    const Entry* found =
        FIndex.Find(Hash, [&](const Entry& E) { return platform::CompareFileNames(E.Name(), FileName) == 0; });
    return found == nullptr ? nullptr : found->Info();
}

TorrentInfoPtr InfoCache::GetTorrentInfo(std::u16string_view FileName, bool ImmediateOnly) {
    const std::uint64_t hash = HashOfName(FileName);
    std::uint64_t insertionsBefore = 0;
    {
        const std::lock_guard lock(FMutex);
        TrimLocked();
        if (TorrentInfoPtr hit = FindLocked(FileName, hash)) return hit;
        insertionsBefore = FInsertions;
    }
    if (ImmediateOnly) return nullptr;

    // Loading reads the file: never under the lock.
    TorrentInfoPtr loaded = FLoad(FileName);
    if (!loaded) return nullptr;

    Entry::Owner entry = Entry::Make(FileName, hash, loaded);
    const std::lock_guard lock(FMutex);
    // Another thread may have loaded the same file meanwhile: keep one entry.
    // Only an insertion since the miss can have added it.
    if (FInsertions != insertionsBefore)
        if (TorrentInfoPtr earlier = FindLocked(FileName, hash)) return earlier;
    // Whatever may fail comes first, so that both stay alike.
    FIndex.Reserve(FEntries.size() + 1);
    FEntries.push_back(entry.get());
    FHeldBytes += entry->HeldBytes();
    FIndex.Insert(hash, entry.release());
    ++FInsertions;
    if (FHeldBytes > TrimAboveBytes) TrimLocked();
    return loaded;
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

TorrentInfoPtr LoadTorrentInfo(std::u16string_view FileName) {
    // Shared by every cache and thread; freed when the module leaves memory.
    static SpareDocument spare;
    try {
        SpareDocument::Loan loan(spare);
        TTorrentFile& document = loan.Document();
        document.ParseOptions = {TParseOptionsKind::poFindEncoding};
        document.LoadFile(FileName);
        return TTorrentInfo::Shared(document);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace seedlens
