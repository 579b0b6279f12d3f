// The cache under several threads at once.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "plugin/info_cache.h"

namespace seedlens {
namespace {

TEST(InfoCacheThreads, ConcurrentLoadsOfOneFileLeaveOneEntry) {
    InfoCache cache({[](std::u16string_view Name) -> LoadedFile {
                         const std::string name(Name.begin(), Name.end());
                         return {platform::FileState{}, std::make_shared<TTorrentInfo>(TTorrentInfo::Texts{.Name = name})};
                     },
                     [](std::u16string_view) { return platform::FileState{}; }, [] { return std::uint64_t{0}; }});
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                const std::u16string name = u"file" + std::u16string(1, static_cast<char16_t>(u'a' + i % 20));
                EXPECT_EQ(cache.GetTorrentInfo(name, false)->Name().size(), 5u);
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(cache.Count(), 20u);
}

}  // namespace
}  // namespace seedlens
