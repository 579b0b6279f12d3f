// The per-file cache: look-up, immediate-only misses, failed loads, the trims
// by count and by bytes, and the name index entries are removed from.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <utility>
#include <vector>

#include "plugin/info_cache.h"
#include "plugin/name_index.h"

namespace seedlens {
namespace {

// Files that never change, on a clock that never moves.
InfoCache::Access Unchanging(std::function<LoadedFile(std::u16string_view)> Load) {
    return {std::move(Load), [](std::u16string_view) { return platform::FileState{}; }, [] { return std::uint64_t{0}; }};
}

// A loader that makes a record named after the file, finds no file for
// names starting with "none", fails for those starting with "bad", and
// counts its calls.
struct FakeLoader {
    std::atomic<int> Calls{0};
    InfoCache::Access Function() {
        return Unchanging([this](std::u16string_view Name) -> LoadedFile {
            ++Calls;
            if (Name.substr(0, 4) == u"none") return {};
            if (Name.substr(0, 3) == u"bad") return {platform::FileState{}, nullptr};
            const std::string name(Name.begin(), Name.end());
            return {platform::FileState{}, std::make_shared<TTorrentInfo>(TTorrentInfo::Texts{.Name = name})};
        });
    }
};

std::u16string NameOf(int I) {
    const std::string digits = std::to_string(100000 + I);
    return u"file" + std::u16string(digits.begin(), digits.end());
}

TEST(InfoCache, LoadsOnceThenAnswersFromTheRecord) {
    FakeLoader loader;
    InfoCache cache(loader.Function());
    EXPECT_EQ(cache.GetTorrentInfo(u"a", false)->Name(), "a");
    EXPECT_EQ(cache.GetTorrentInfo(u"a", false)->Name(), "a");
    EXPECT_EQ(cache.GetTorrentInfo(u"a", true)->Name(), "a");  // cached: answered at once
    EXPECT_EQ(loader.Calls, 1);
    EXPECT_EQ(cache.Count(), 1u);
}

TEST(InfoCache, ImmediateMissLoadsNothing) {
    FakeLoader loader;
    InfoCache cache(loader.Function());
    EXPECT_EQ(cache.GetTorrentInfo(u"a", true), nullptr);
    EXPECT_EQ(loader.Calls, 0);
    EXPECT_EQ(cache.Count(), 0u);
}

TEST(InfoCache, FailedLoadsAreRememberedUnlessNoFileOpened) {
    FakeLoader loader;
    InfoCache cache(loader.Function());
    EXPECT_EQ(cache.GetTorrentInfo(u"bad", false), nullptr);
    EXPECT_EQ(cache.GetTorrentInfo(u"bad", false), nullptr);
    EXPECT_EQ(loader.Calls, 1);
    EXPECT_EQ(cache.GetTorrentInfo(u"none", false), nullptr);
    EXPECT_EQ(cache.GetTorrentInfo(u"none", false), nullptr);
    EXPECT_EQ(loader.Calls, 3);  // tried again each time
    EXPECT_EQ(cache.Count(), 1u);
}

TEST(InfoCache, FailedEntriesCountInTheBounds) {
    FakeLoader loader;
    InfoCache cache(loader.Function());
    for (int i = 0; i <= 4096; ++i) cache.GetTorrentInfo(u"bad" + NameOf(i), false);
    EXPECT_EQ(cache.Count(), 4097u);
    EXPECT_GE(cache.HeldBytes(), 4097 * (u"bad" + NameOf(0)).size() * sizeof(char16_t));
    cache.GetTorrentInfo(u"x", true);
    EXPECT_EQ(cache.Count(), 3072u);
    EXPECT_FALSE(cache.Contains(u"bad" + NameOf(1024)));
    EXPECT_TRUE(cache.Contains(u"bad" + NameOf(1025)));
}

TEST(InfoCache, TrimDropsTheNamesThatSortFirst) {
    FakeLoader loader;
    InfoCache cache(loader.Function());
    // Loaded in reverse order: the trim goes by name, not by age.
    for (int i = 4096; i >= 0; --i) cache.GetTorrentInfo(NameOf(i), false);
    EXPECT_EQ(cache.Count(), 4097u);
    const TorrentInfoPtr held = cache.GetTorrentInfo(NameOf(0), true);  // trims first, then misses
    EXPECT_EQ(held, nullptr);
    EXPECT_EQ(cache.Count(), 3072u);
    EXPECT_FALSE(cache.Contains(NameOf(1024)));
    EXPECT_TRUE(cache.Contains(NameOf(1025)));
    EXPECT_TRUE(cache.Contains(NameOf(4096)));
}

TEST(InfoCache, RecordsInUseOutliveATrim) {
    FakeLoader loader;
    InfoCache cache(loader.Function());
    const TorrentInfoPtr first = cache.GetTorrentInfo(NameOf(0), false);
    for (int i = 1; i <= 4096; ++i) cache.GetTorrentInfo(NameOf(i), false);
    cache.GetTorrentInfo(u"zzz", true);  // the trim frees the entry of file 0
    EXPECT_FALSE(cache.Contains(NameOf(0)));
    EXPECT_EQ(first->Name(), "file100000");  // still valid for whoever holds it
}

// Records whose texts hold as many bytes as the test gives each name
// (16 unless told), spread over four texts of at most 64 KiB.
struct SizedLoader {
    std::map<std::u16string, std::size_t, std::less<>> TextBytes;
    InfoCache::Access Function() {
        return Unchanging([this](std::u16string_view Name) -> LoadedFile {
            const auto found = TextBytes.find(Name);
            std::size_t left = found == TextBytes.end() ? 16 : found->second;
            std::string texts[4];
            for (std::string& text : texts) {
                text.assign(std::min(left, TTorrentInfo::MaxTextBytes), 'x');
                left -= text.size();
            }
            return {platform::FileState{}, std::make_shared<TTorrentInfo>(TTorrentInfo::Texts{
                .FirstTracker = texts[0], .Creator = texts[1], .Comment = texts[2], .ErrorString = texts[3]})};
        });
    }
    std::size_t BytesOf(const std::u16string& Name) const {
        const auto found = TextBytes.find(Name);
        return found == TextBytes.end() ? 16 : found->second;
    }
};

// What an entry holds besides its texts: the same for every name of
// NameOf's length.
std::size_t EntryOverhead() {
    SizedLoader loader;
    InfoCache cache(loader.Function());
    cache.GetTorrentInfo(NameOf(0), false);
    return cache.HeldBytes() - loader.BytesOf(NameOf(0));
}

// The cache keeps the names that sort last: of the files asked for (Asked,
// by NameOf's number), those it holds follow those it dropped.
void ExpectKeptNamesSortLast(const InfoCache& Cache, const std::vector<bool>& Asked) {
    bool keeping = false;
    for (int i = 0; i < static_cast<int>(Asked.size()); ++i) {
        if (!Asked[static_cast<std::size_t>(i)]) continue;
        const bool kept = Cache.Contains(NameOf(i));
        ASSERT_TRUE(kept || !keeping) << "file " << i << " dropped after a kept name";
        keeping = kept;
    }
}

TEST(InfoCache, BytesPastTheBoundTrimOnTheInsertionThatPassesIt) {
    SizedLoader loader;
    const std::size_t overhead = EntryOverhead();
    constexpr int kNames = 2000;
    for (int i = 0; i < kNames; ++i) loader.TextBytes[NameOf(i)] = 60 * 1024 + i % 7 * 1000;
    InfoCache cache(loader.Function());
    std::vector<std::size_t> held(kNames, 0);  // what each name's entry holds, while it is in
    std::vector<bool> asked(kNames, false);
    std::size_t total = 0;
    int trims = 0;
    for (int k = 0; k < kNames; ++k) {
        const int i = k * 7 % kNames;  // neither in nor against name order
        const std::size_t countBefore = cache.Count();
        held[i] = loader.BytesOf(NameOf(i)) + overhead;
        total += held[i];
        asked[i] = true;
        ASSERT_NE(cache.GetTorrentInfo(NameOf(i), false), nullptr);
        if (total <= InfoCache::TrimAboveBytes) {
            ASSERT_EQ(cache.HeldBytes(), total) << k;
            ASSERT_EQ(cache.Count(), countBefore + 1) << k;
            continue;
        }
        ++trims;
        ExpectKeptNamesSortLast(cache, asked);
        total = 0;
        std::size_t lastDropped = 0;
        for (int j = 0; j < kNames; ++j) {
            if (held[j] == 0) continue;
            if (cache.Contains(NameOf(j)))
                total += held[j];
            else
                lastDropped = std::exchange(held[j], 0);
        }
        EXPECT_EQ(cache.HeldBytes(), total) << k;
        EXPECT_LT(total, InfoCache::TrimToBytes) << k;
        EXPECT_GE(total + lastDropped, InfoCache::TrimToBytes) << "dropped more than needed at " << k;
    }
    EXPECT_GE(trims, 3);
}

// The 4,097th entry also takes the bytes past their bound: both trims at
// once. Either bound may be the one that drops more.
TEST(InfoCache, BothTrimsTogether) {
    const std::size_t overhead = EntryOverhead();
    constexpr int kNames = static_cast<int>(InfoCache::TrimAbove) + 1;
    constexpr std::size_t kHeavies = 1024;
    for (const bool heaviesSortFirst : {true, false}) {
        SCOPED_TRACE(heaviesSortFirst ? "heavy entries sort first" : "heavy entries sort last");
        SizedLoader loader;
        // The first 4,096 entries hold 128 KiB less than the bound; the last
        // one, 256 KiB.
        const std::size_t light = 16 + overhead;
        const std::size_t heavy =
            (InfoCache::TrimAboveBytes - 128 * 1024 - (kNames - 1 - kHeavies) * light) / kHeavies - overhead;
        for (std::size_t h = 0; h < kHeavies; ++h)
            loader.TextBytes[NameOf(static_cast<int>(heaviesSortFirst ? h : kNames - 1 - kHeavies + h))] = heavy;
        loader.TextBytes[NameOf(kNames - 1)] = 256 * 1024;
        InfoCache cache(loader.Function());
        for (int k = 0; k < kNames - 1; ++k) cache.GetTorrentInfo(NameOf(k * 7 % (kNames - 1)), false);
        ASSERT_EQ(cache.Count(), InfoCache::TrimAbove);
        ASSERT_LT(cache.HeldBytes(), InfoCache::TrimAboveBytes);

        cache.GetTorrentInfo(NameOf(kNames - 1), false);
        ExpectKeptNamesSortLast(cache, std::vector<bool>(kNames, true));
        EXPECT_LT(cache.HeldBytes(), InfoCache::TrimToBytes);
        std::size_t total = 0;
        int firstKept = kNames;
        for (int i = kNames - 1; i >= 0 && cache.Contains(NameOf(i)); --i) {
            total += loader.BytesOf(NameOf(i)) + overhead;
            firstKept = i;
        }
        EXPECT_EQ(cache.HeldBytes(), total);
        if (heaviesSortFirst) {
            EXPECT_EQ(cache.Count(), InfoCache::TrimTo);  // the count bound drops more
        } else {
            EXPECT_LT(cache.Count(), InfoCache::TrimTo);  // the byte bound drops more
            EXPECT_GE(total + loader.BytesOf(NameOf(firstKept - 1)) + overhead, InfoCache::TrimToBytes);
        }
    }
}

// Values whose hashes share home slots and wrap around the end of the table:
// whichever goes, the others are still found.
TEST(NameIndex, RemovingKeepsTheOthersReachable) {
    const std::uint64_t hashes[] = {14, 15, 14, 15, 14};  // sixteen slots: placed at 14, 15, 0, 1, 2
    for (std::size_t gone = 0; gone < std::size(hashes); ++gone) {
        SCOPED_TRACE(gone);
        int values[std::size(hashes)] = {};
        NameIndex<int> index(4);
        for (std::size_t i = 0; i < std::size(hashes); ++i) index.Insert(hashes[i], &values[i]);
        index.Remove(hashes[gone], &values[gone]);
        for (std::size_t i = 0; i < std::size(hashes); ++i) {
            const int* found = index.Find(hashes[i], [&](const int& V) { return &V == &values[i]; });
            EXPECT_EQ(found, i == gone ? nullptr : &values[i]) << i;
        }
    }
}

}  // namespace
}  // namespace seedlens
