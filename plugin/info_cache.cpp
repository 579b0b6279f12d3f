#include "plugin/info_cache.h"

#include <algorithm>

#include "platform/text_compare.h"

namespace seedlens {

InfoCache::InfoCache(Loader Load) : FLoad(std::move(Load)) {
    // Room for a full cache without rehashing, and short bucket chains.
    FIndex.max_load_factor(0.5f);
    FIndex.reserve(TrimAbove + 1);
}

std::vector<const InfoCache::Node*>::const_iterator InfoCache::LowerBound(std::u16string_view FileName) const {
    return std::lower_bound(FSorted.begin(), FSorted.end(), FileName, [](const Node* N, std::u16string_view Name) {
        return platform::CompareFileNames(N->second.Name, Name) < 0;
    });
}

void InfoCache::TrimLocked() {
    if (FSorted.size() <= TrimAbove) return;
    // The names that sort first go, in one sweep rather than one per insertion.
    const auto keep = FSorted.end() - static_cast<std::ptrdiff_t>(TrimTo);
    for (auto it = FSorted.begin(); it != keep; ++it) FIndex.erase((*it)->first);
    FSorted.erase(FSorted.begin(), keep);
}

TorrentInfoPtr InfoCache::FindLocked(std::u16string_view FileName) const {
    std::u16string storage;
    const auto found = FIndex.find(platform::FileNameKey(FileName, storage));
    return found == FIndex.end() ? nullptr : found->second.Info;
}

TorrentInfoPtr InfoCache::GetTorrentInfo(std::u16string_view FileName, bool ImmediateOnly) {
    {
        const std::lock_guard lock(FMutex);
        TrimLocked();
        if (TorrentInfoPtr hit = FindLocked(FileName)) return hit;
    }
    if (ImmediateOnly) return nullptr;

    // Loading reads the file: never under the lock.
    TorrentInfoPtr loaded = FLoad(FileName);
    if (!loaded) return nullptr;

    const std::lock_guard lock(FMutex);
    // Another thread may have loaded the same file meanwhile: keep one entry.
    if (TorrentInfoPtr earlier = FindLocked(FileName)) return earlier;
    std::u16string storage;
    const auto [node, added] = FIndex.emplace(std::u16string(platform::FileNameKey(FileName, storage)),
                                              Entry{std::u16string(FileName), loaded});
    FSorted.insert(LowerBound(FileName), &*node);
    return loaded;
}

std::size_t InfoCache::Count() const {
    const std::lock_guard lock(FMutex);
    return FSorted.size();
}

bool InfoCache::Contains(std::u16string_view FileName) const {
    const std::lock_guard lock(FMutex);
    return FindLocked(FileName) != nullptr;
}

TorrentInfoPtr LoadTorrentInfo(std::u16string_view FileName) {
    try {
        TTorrentFile document;
        document.ParseOptions = {TParseOptionsKind::poFindEncoding};
        document.LoadFile(FileName);
        return std::make_shared<const TTorrentInfo>(TTorrentInfo::From(document));
    } catch (...) {
        return nullptr;
    }
}

}  // namespace seedlens
