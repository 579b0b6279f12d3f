// The document's two starting states, and its sub-files.

#include <gtest/gtest.h>

#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

void ExpectEmptyLists(const TTorrentFile& Doc) {
    EXPECT_TRUE(Doc.Trackers.Empty());
    EXPECT_TRUE(Doc.Webseeds.Empty());
    EXPECT_TRUE(Doc.Errors.Empty());
    EXPECT_TRUE(Doc.CustomFields.Empty());
    EXPECT_TRUE(Doc.Files.empty());
    EXPECT_EQ(Doc.BlockListCount(), 0);
    EXPECT_EQ(Doc.ErrorFlags(), TErrorFlags{TErrorFlagKind::efCorruptInfoBlock});
}

TEST(TorrentFile, NewAndClearedStatesDifferOnlyInTheFlags) {
    TTorrentFile doc;
    EXPECT_EQ(doc.Multifile, 0);
    EXPECT_EQ(doc.PrivateTorrent, 0);
    EXPECT_TRUE(doc.ParseOptions.Empty());
    ExpectEmptyLists(doc);

    doc.ParseOptions = {TParseOptionsKind::poParseFiles, TParseOptionsKind::poFindEncoding};
    doc.Files.emplace_back();
    doc.Files.emplace_back();
    doc.Trackers.Add(u"http://a");
    doc.SetTorrentName("x");
    doc.TotalSize = 5;
    doc.Hash = "abc";
    doc.Created = 1.5;
    doc.Clear();
    EXPECT_EQ(doc.Multifile, -1);
    EXPECT_EQ(doc.PrivateTorrent, -1);
    EXPECT_EQ(doc.TorrentName(), "");
    EXPECT_EQ(doc.TotalSize, 0);
    EXPECT_EQ(doc.Hash, "");
    EXPECT_EQ(doc.Created, 0);
    ExpectEmptyLists(doc);
    EXPECT_EQ(doc.ParseOptions.Bits(), 5);  // Clear leaves the options alone
}

TEST(TorrentFile, OutOfRangeIndexesGiveEmptyValues) {
    TTorrentFile doc;
    EXPECT_EQ(doc.Block(0), "");
    EXPECT_EQ(doc.Block(-1), "");
    EXPECT_EQ(doc.SubFile(0).Count(), 0);
    EXPECT_EQ(doc.SubFile(-7).FullPath(), "");
}

TEST(TorrentSubFile, PathTexts) {
    struct { std::vector<std::string> Elements; const char* FileName; const char* PathName; const char* FullPath; } cases[] = {
        {{"dir", "sub", "a.txt"}, "a.txt", "dir\\sub\\", "dir\\sub\\a.txt"},
        {{"a.txt"}, "a.txt", "", "a.txt"},
        {{"dir", "a.txt"}, "a.txt", "dir\\", "dir\\a.txt"},
        {{}, "", "", ""},
        {{"", ""}, "", "\\", "\\"},
    };
    for (const auto& c : cases) {
        TTorrentSubFile file;
        for (const auto& e : c.Elements) file.Add(e);
        EXPECT_EQ(file.Count(), static_cast<std::int32_t>(c.Elements.size()));
        EXPECT_EQ(file.FileName(), c.FileName);
        EXPECT_EQ(file.PathName(), c.PathName);
        EXPECT_EQ(file.FullPath(), c.FullPath);
        for (std::size_t i = 0; i < c.Elements.size(); ++i)
            EXPECT_EQ(file.Path(static_cast<std::int32_t>(i)), c.Elements[i]);
        EXPECT_EQ(file.Path(static_cast<std::int32_t>(c.Elements.size())), "");
        EXPECT_EQ(file.Path(-1), "");
    }
}

}  // namespace
}  // namespace seedlens
