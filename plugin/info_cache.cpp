#include "plugin/info_cache.h"

#include <algorithm>

#include "platform/text_compare.h"

namespace seedlens {

InfoCache::InfoCache(Loader Load) : FLoad(std::move(Load)) {}

std::vector<InfoCache::Entry>::const_iterator InfoCache::LowerBound(std::u16string_view FileName) const {
    return std::lower_bound(FEntries.begin(), FEntries.end(), FileName, [](const Entry& E, std::u16string_view Name) {
        return platform::CompareFileNames(E.Key, Name) < 0;
    });
}

void InfoCache::TrimLocked() {
    if (FEntries.size() <= TrimAbove) return;
    // The names that sort first go, in one sweep rather than one per insertion.
    FEntries.erase(FEntries.begin(), FEntries.end() - static_cast<std::ptrdiff_t>(TrimTo));
}

TorrentInfoPtr InfoCache::GetTorrentInfo(std::u16string_view FileName, bool ImmediateOnly) {
    {
        const std::lock_guard lock(FMutex);
        TrimLocked();
        const auto found = LowerBound(FileName);
        if (found != FEntries.end() && platform::CompareFileNames(found->Key, FileName) == 0) return found->Info;
    }
    if (ImmediateOnly) return nullptr;

    // Loading reads the file: never under the lock.
    TorrentInfoPtr loaded = FLoad(FileName);
    if (!loaded) return nullptr;

    const std::lock_guard lock(FMutex);
    const auto at = LowerBound(FileName);
    // Another thread may have loaded the same file meanwhile: keep one entry.
    if (at != FEntries.end() && platform::CompareFileNames(at->Key, FileName) == 0) return at->Info;
    FEntries.insert(at, Entry{std::u16string(FileName), loaded});
    return loaded;
}

std::size_t InfoCache::Count() const {
    const std::lock_guard lock(FMutex);
    return FEntries.size();
}

bool InfoCache::Contains(std::u16string_view FileName) const {
    const std::lock_guard lock(FMutex);
    const auto found = LowerBound(FileName);
    return found != FEntries.end() && platform::CompareFileNames(found->Key, FileName) == 0;
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
