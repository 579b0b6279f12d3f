// The document kept between loads: a reused document must load exactly like
// a new one, and only a small one is kept.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bencode/memory_stream.h"
#include "plugin/spare_document.h"
#include "plugin/torrent_info.h"
#include "tests/support/bencode_writer.h"

namespace seedlens {
namespace {

using test::Dict;
using test::Int;
using test::List;
using test::Str;

struct Loaded {
    std::shared_ptr<const TTorrentInfo> Info;  // nullptr when the load failed
    std::vector<std::u16string> Trackers, Webseeds, CustomFields;
    std::size_t Files = 0;
};

Loaded LoadInto(TTorrentFile& Document, const std::string& Bytes) {
    Loaded loaded;
    Document.ParseOptions = {TParseOptionsKind::poFindEncoding};
    MemoryStream stream(Bytes);
    try {
        Document.LoadStream(stream);
    } catch (const std::exception&) {
        return loaded;
    }
    loaded.Info = TTorrentInfo::Shared(Document);
    for (const auto text : Document.Trackers) loaded.Trackers.emplace_back(text);
    for (const auto text : Document.Webseeds) loaded.Webseeds.emplace_back(text);
    for (const auto text : Document.CustomFields) loaded.CustomFields.emplace_back(text);
    loaded.Files = Document.Files.size();
    return loaded;
}

void ExpectSame(const Loaded& Actual, const Loaded& Expected) {
    ASSERT_EQ(Actual.Info == nullptr, Expected.Info == nullptr);
    EXPECT_EQ(Actual.Trackers, Expected.Trackers);
    EXPECT_EQ(Actual.Webseeds, Expected.Webseeds);
    EXPECT_EQ(Actual.CustomFields, Expected.CustomFields);
    EXPECT_EQ(Actual.Files, Expected.Files);
    if (!Actual.Info) return;
    const TTorrentInfo& a = *Actual.Info;
    const TTorrentInfo& e = *Expected.Info;
    EXPECT_EQ(a.Name(), e.Name());
    EXPECT_EQ(a.FirstTracker(), e.FirstTracker());
    EXPECT_EQ(a.TrackerShort(), e.TrackerShort());
    EXPECT_EQ(a.Creator(), e.Creator());
    EXPECT_EQ(a.Hash(), e.Hash());
    EXPECT_EQ(a.Comment(), e.Comment());
    EXPECT_EQ(a.Encoding(), e.Encoding());
    EXPECT_EQ(a.ErrorString(), e.ErrorString());
    EXPECT_EQ(a.Sha256(), e.Sha256());
    EXPECT_EQ(a.Magnet(), e.Magnet());
    EXPECT_EQ(a.Source(), e.Source());
    EXPECT_EQ(a.Format(), e.Format());
    EXPECT_EQ(a.TotalSize, e.TotalSize);
    EXPECT_EQ(a.FileCount, e.FileCount);
    EXPECT_EQ(a.BlockSize, e.BlockSize);
    EXPECT_EQ(a.BlockCount, e.BlockCount);
    EXPECT_EQ(a.Created, e.Created);
    EXPECT_EQ(a.Multifile, e.Multifile);
    EXPECT_EQ(a.PrivateTorrent, e.PrivateTorrent);
}

// Torrents that fill different parts of a document, and some that fill
// almost nothing: whatever one leaves behind must not show in the next.
const std::vector<std::string>& Torrents() {
    static const std::vector<std::string> torrents = {
        // everything at once: tiers, web seeds, legacy texts, custom fields, many files
        Dict({{"announce", Str("http://a.example/announce")},
              {"announce-list", List({List({Str("http://b.example/x")}), List({Str("udp://c.example:80")})})},
              {"comment", Str("caf\xe9 comment of some length")},
              {"created by", Str("creator 1.0 with a long name")},
              {"creation date", Int(1700000000)},
              {"encoding", Str("windows-1252")},
              {"info", Dict({{"files", List({Dict({{"length", Int(3)}, {"path", List({Str("d"), Str("f")})}}),
                                             Dict({{"length", Int(4)}, {"path", List({Str("g")})}})})},
                             {"name", Str("folder name longer than sixteen")},
                             {"piece length", Int(16384)},
                             {"pieces", Str(std::string(40, 'p'))},
                             {"private", Int(1)},
                             {"source", Str("custom value")}})},
              {"url-list", List({Str("http://seed.example/1"), Str("http://seed.example/2")})}}),
        // the bare minimum
        Dict({{"info", Dict({{"length", Int(1)}, {"name", Str("n")}})}}),
        // single file with "name.utf-8" and a lone web seed string
        Dict({{"info", Dict({{"length", Int(9)}, {"name", Str("x")}, {"name.utf-8", Str("\xe2\x82\xac name")}})},
              {"url-list", Str("http://one.example/")}}),
        // a corrupt announce-list and files list
        Dict({{"announce-list", Int(5)}, {"info", Dict({{"files", List({Int(1)})}, {"name", Str("bad files")}})}}),
        // no info at all
        Dict({{"comment", Str("only a comment")}}),
        // a hybrid: two info hashes
        Dict({{"info", Dict({{"file tree", Dict({{"f", Dict({{"", Dict({{"length", Int(2)}})}})}})},
                             {"name", Str("h")},
                             {"pieces", Str(std::string(20, 'p'))}})}}),
        // a reader error and a walk error: both loads fail
        "d4:info",
        Dict({{"info", Dict({{"files", Int(7)}})}}),
    };
    return torrents;
}

TEST(SpareDocument, AReusedDocumentLoadsLikeANewOne) {
    SpareDocument spare;
    for (std::size_t before = 0; before < Torrents().size(); ++before) {
        for (std::size_t after = 0; after < Torrents().size(); ++after) {
            SCOPED_TRACE("torrent " + std::to_string(before) + " then " + std::to_string(after));
            const TTorrentFile* first = nullptr;
            {
                SpareDocument::Loan loan(spare);
                first = &loan.Document();
                LoadInto(loan.Document(), Torrents()[before]);
            }
            SpareDocument::Loan loan(spare);
            ASSERT_EQ(&loan.Document(), first);  // the same document, lent again
            TTorrentFile fresh;
            ExpectSame(LoadInto(loan.Document(), Torrents()[after]), LoadInto(fresh, Torrents()[after]));
        }
    }
}

TEST(SpareDocument, KeepsOneDocumentAndOnlyASmallOne) {
    SpareDocument spare;
    EXPECT_FALSE(spare.HasSpare());
    {
        SpareDocument::Loan a(spare), b(spare);
        EXPECT_NE(&a.Document(), &b.Document());  // loans at the same time never share
    }
    EXPECT_TRUE(spare.HasSpare());
    {
        SpareDocument::Loan loan(spare);
        EXPECT_FALSE(spare.HasSpare());
        const std::string huge = Dict({{"comment", Str(std::string(SpareDocument::MaxHeldBytes, 'c'))},
                                       {"info", Dict({{"length", Int(1)}, {"name", Str("n")}})}});
        ASSERT_NE(LoadInto(loan.Document(), huge).Info, nullptr);
    }
    EXPECT_FALSE(spare.HasSpare());  // its comment's buffer alone is too large to keep
}

}  // namespace
}  // namespace seedlens
