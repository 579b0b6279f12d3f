// A document loaded for the plug-in's fields alone (poFieldsOnly) keeps no
// more of its lists than a field can show, and shows the same values as one
// loaded whole.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bencode/memory_stream.h"
#include "tests/support/bencode_writer.h"
#include "torrent/magnet_link.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;

constexpr std::size_t kLinkBytes = 64 * 1024;  // the longest magnet link a record keeps
const std::string kInfo =
    Dict({{"length", Int(5)}, {"name", Str("a")}, {"piece length", Int(16384)}, {"pieces", Str(std::string(20, 'h'))}});

std::string Tracker(std::size_t I) { return "udp://tracker-" + std::to_string(I) + ".example.org:6969/announce"; }

// Count trackers, each its own tier.
std::string Tiers(std::size_t Count) {
    std::vector<std::string> tiers;
    for (std::size_t i = 0; i < Count; ++i) tiers.push_back(List({Str(Tracker(i))}));
    return List(tiers);
}

std::string Seeds(std::size_t Count) {
    std::vector<std::string> seeds;
    for (std::size_t i = 0; i < Count; ++i) seeds.push_back(Str("http://seed-" + std::to_string(i) + ".example.org/"));
    return List(seeds);
}

TTorrentFile Load(const std::string& Bytes, bool FieldsOnly) {
    TTorrentFile doc;
    doc.ParseOptions = {TParseOptionsKind::poFindEncoding};
    if (FieldsOnly) doc.ParseOptions.Include(TParseOptionsKind::poFieldsOnly);
    MemoryStream stream(Bytes);
    doc.LoadStream(stream);
    return doc;
}

TEST(FieldsOnly, ShowsWhatTheWholeDocumentShows) {
    // The upper case makes the announce equal to a tracker only without regard to case.
    const std::string late = "UDP://TRACKER-4000.EXAMPLE.ORG:6969/announce";
    const struct Case {
        const char* Name;
        std::string Bytes;
    } cases[] = {
        {"few trackers and seeds", Dict({{"announce-list", Tiers(3)}, {"info", kInfo}, {"url-list", Seeds(2)}})},
        {"more trackers than a link holds",
         Dict({{"announce", Str("http://first.example.org/")}, {"announce-list", Tiers(5000)}, {"info", kInfo}})},
        {"the announce among the trackers not kept",
         Dict({{"announce", Str(late)}, {"announce-list", Tiers(5000)}, {"info", kInfo}})},
        {"the announce after the list", Dict({{"announce-list", Tiers(5000)}, {"info", kInfo}, {"announce", Str(late)}})},
        {"the announce repeated", Dict({{"announce", Str(late)}, {"announce-list", Tiers(5000)},
                                        {"announce", Str("http://other.example.org/")}, {"info", kInfo}})},
        {"more seeds than a link holds", Dict({{"announce-list", Tiers(2)}, {"info", kInfo}, {"url-list", Seeds(5000)}})},
        {"seeds after a long list", Dict({{"announce-list", Tiers(5000)}, {"info", kInfo}, {"url-list", Seeds(3)}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TTorrentFile whole = Load(c.Bytes, false);
        const TTorrentFile lean = Load(c.Bytes, true);
        EXPECT_EQ(lean.FirstTracker, whole.FirstTracker);
        EXPECT_EQ(lean.TrackerHost(), whole.TrackerHost());
        EXPECT_EQ(MagnetLink(lean, kLinkBytes), MagnetLink(whole, kLinkBytes));
        EXPECT_EQ(lean.ErrorSummary(), whole.ErrorSummary());
        // Nothing past one address beyond what the link can name is kept.
        for (const TextList* list : {&lean.Trackers, &lean.UrlSeeds, &lean.Webseeds})
            EXPECT_LE(list->Units(), TTorrentFile::kListedAddressUnits + 64);
    }
}

TEST(FieldsOnly, KeepsNoCustomFields) {
    std::vector<std::pair<std::string, std::string>> info = {
        {"length", Int(5)}, {"meta version", Int(1)}, {"name", Str("a")}, {"piece length", Int(16384)},
        {"pieces", Str(std::string(20, 'h'))}};
    for (int i = 0; i < 100; ++i) info.push_back({"x" + std::to_string(i), Int(i)});
    const std::string bytes = Dict({{"info", Dict(info)}});
    EXPECT_EQ(Load(bytes, false).CustomFields.Count(), 101);
    const TTorrentFile lean = Load(bytes, true);
    EXPECT_TRUE(lean.CustomFields.Empty());
    EXPECT_EQ(lean.TorrentName(), "a");
}

}  // namespace
}  // namespace seedlens
