// The per-file cache: look-up, immediate-only misses, failed loads, the trim
// and concurrent loads of one file.

#include <gtest/gtest.h>

#include <atomic>

#include "plugin/info_cache.h"

namespace seedlens {
namespace {

// A loader that makes a record named after the file, fails for names
// starting with "bad", and counts its calls.
struct FakeLoader {
    std::atomic<int> Calls{0};
    InfoCache::Loader Function() {
        return [this](std::u16string_view Name) -> TorrentInfoPtr {
            ++Calls;
            if (Name.substr(0, 3) == u"bad") return nullptr;
            const std::string name(Name.begin(), Name.end());
            return std::make_shared<TTorrentInfo>(TTorrentInfo::Texts{.Name = name});
        };
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

TEST(InfoCache, FailedLoadsAreNotCached) {
    FakeLoader loader;
    InfoCache cache(loader.Function());
    EXPECT_EQ(cache.GetTorrentInfo(u"bad", false), nullptr);
    EXPECT_EQ(cache.GetTorrentInfo(u"bad", false), nullptr);
    EXPECT_EQ(loader.Calls, 2);  // tried again each time
    EXPECT_EQ(cache.Count(), 0u);
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

}  // namespace
}  // namespace seedlens
