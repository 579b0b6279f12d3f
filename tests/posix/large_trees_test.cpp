// The largest trees the reader accepts, loaded as the plug-in loads them:
// the peak memory of one load stays within the file's size and 64 MiB, and
// the values are right.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/code_pages.h"
#include "plugin/info_cache.h"
#include "tests/support/generated_torrents.h"
#include "tests/support/peak_memory.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using test::kMiB;

// Files and their total, found by scanning the bytes for "length" members
// (the generated torrents hold no other text that looks like one).
struct Lengths {
    std::int32_t Count = 0;
    std::int64_t Total = 0;
};
Lengths ScanLengths(std::string_view Bytes) {
    constexpr std::string_view kKey = "6:lengthi";
    Lengths found;
    for (std::size_t at = Bytes.find(kKey); at != std::string_view::npos; at = Bytes.find(kKey, at + 1)) {
        std::int64_t value = 0;
        for (std::size_t i = at + kKey.size(); Bytes[i] != 'e'; ++i) value = value * 10 + (Bytes[i] - '0');
        ++found.Count;
        found.Total += value;
    }
    return found;
}

TEST(LargeTrees, LoadWithinTheirSizeAnd64MiB) {
    const struct Case {
        const char* Name;
        std::function<std::string()> Make;
    } cases[] = {
        {"7,900,000 empty lists", [] { return test::ManyEmptyListsTorrent(7'900'000); }},
        {"a million files", [] { return test::RealShapedTorrent(1'000'000, 500); }},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Lengths expected;
        std::int64_t size = 0;
        std::u16string name;
        {
            const std::string bytes = c.Make();
            expected = ScanLengths(bytes);
            size = static_cast<std::int64_t>(bytes.size());
            name = platform::Utf8ToUtf16(dir.Write("large.torrent", bytes).string());
        }
        LoadedFile loaded;
        const std::int64_t growth = test::PeakGrowth([&] { loaded = LoadTorrentInfo(name); });
        ASSERT_TRUE(loaded.Info);
        EXPECT_EQ(loaded.Info->FileCount, expected.Count);
        EXPECT_EQ(loaded.Info->TotalSize, expected.Total);
        EXPECT_EQ(loaded.Info->ErrorString(), "");
        if (!test::kSanitized) {
            EXPECT_LE(growth, size + 64 * kMiB);
        }
    }
}

}  // namespace
}  // namespace seedlens
