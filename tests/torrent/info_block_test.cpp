// The walk of the info dictionary and its file list, on trees read from
// bencoded bytes.

#include <gtest/gtest.h>

#include "bencode/bencode_tree.h"
#include "tests/support/bencode_writer.h"
#include "torrent/torrent_file.h"
#include "torrent/walk_error.h"

namespace seedlens {
namespace {

using namespace test;

// A cleared document (as every load starts) after walking Info.
TTorrentFile Walk(const std::string& Info, TParseOptions Options = {}) {
    TTorrentFile doc;
    doc.ParseOptions = Options;
    doc.Clear();
    MemoryStream stream(Info);
    TBEncodedTree tree(stream);
    doc.ParseInfoBlock(tree.Root());
    return doc;
}

constexpr TParseOptions kFiles{TParseOptionsKind::poParseFiles};

TEST(InfoBlock, SingleFileTorrent) {
    const TTorrentFile doc = Walk(Dict({{"name", Str("a.iso")}, {"length", Int(1000)}}));
    EXPECT_EQ(doc.TorrentName(), "a.iso");
    EXPECT_EQ(doc.TotalSize, 1000);
    EXPECT_EQ(doc.FileCount(), 1);
    EXPECT_EQ(doc.Multifile, -1);
    EXPECT_EQ(doc.PrivateTorrent, -1);
    ASSERT_EQ(doc.Files.size(), 1u);  // even without poParseFiles
    EXPECT_EQ(doc.Files[0].FullPath(), "a.iso");
    EXPECT_EQ(doc.Files[0].Size(), 1000);
}

TEST(InfoBlock, PiecesAndTheirHashes) {
    std::string pieces;
    for (int i = 0; i < 45; ++i) pieces.push_back(static_cast<char>(i));
    const std::string info = Dict({{"pieces", Str(pieces)}, {"piece length", Int(262144)}});
    const TTorrentFile plain = Walk(info);
    EXPECT_EQ(plain.BlockCount, 2);
    EXPECT_EQ(plain.BlockSize, 262144);
    EXPECT_EQ(plain.BlockListCount(), 0);
    const TTorrentFile hashed = Walk(info, {TParseOptionsKind::poParseHashes});
    ASSERT_EQ(hashed.BlockListCount(), 2);
    EXPECT_EQ(hashed.Block(0), pieces.substr(0, 20));
    EXPECT_EQ(hashed.Block(1), pieces.substr(20, 20));
}

TEST(InfoBlock, Utf8NameWinsWhateverItsPlace) {
    EXPECT_EQ(Walk(Dict({{"name", Str("a")}, {"name.utf-8", Str("b")}})).TorrentName(), "b");
    EXPECT_EQ(Walk(Dict({{"name.utf-8", Str("b")}, {"name", Str("a")}})).TorrentName(), "b");
    EXPECT_EQ(Walk(Dict({{"name", Str("a")}, {"name.utf-8", Str("")}})).TorrentName(), "a");
    // Kept unchecked: conversion for the host replaces what is not UTF-8.
    EXPECT_EQ(Walk(Dict({{"name.utf-8", Str("\xe9")}})).TorrentName(), "\xe9");
}

TEST(InfoBlock, CustomFields) {
    const TTorrentFile doc = Walk(Dict({{"Name", Str("x")},
                                        {"x-source", Str("\xe9t\xe9")},
                                        {"x-int", Int(-42)},
                                        {"empty", Str("")},
                                        {"list", List({Str("a")})},
                                        {"dict", Dict({})}}));
    ASSERT_EQ(doc.CustomFields.Count(), 3);
    EXPECT_EQ(doc.CustomFields[0], u"Name=x");
    EXPECT_EQ(doc.CustomFields[1], u"x-source=été");
    EXPECT_EQ(doc.CustomFields[2], u"x-int=-42");
    EXPECT_EQ(doc.TorrentName(), "");
}

TEST(InfoBlock, WrongKindsReadAsEmptyOrZero) {
    const TTorrentFile doc = Walk(Dict({{"name", Int(5)},
                                        {"pieces", Int(5)},
                                        {"piece length", Str("5")},
                                        {"length", List({})},
                                        {"private", Str("1")}}));
    EXPECT_EQ(doc.TorrentName(), "");
    EXPECT_EQ(doc.BlockCount, 0);
    EXPECT_EQ(doc.BlockSize, 0);
    EXPECT_EQ(doc.TotalSize, 0);
    EXPECT_EQ(doc.PrivateTorrent, 0);
}

TEST(InfoBlock, IntegersAreCutToTheirLow32Bits) {
    EXPECT_EQ(Walk(Dict({{"piece length", Int(4294967296)}})).BlockSize, 0);
    EXPECT_EQ(Walk(Dict({{"piece length", Int(4294967297)}})).BlockSize, 1);
    EXPECT_EQ(Walk(Dict({{"piece length", Int(INT64_MIN)}})).BlockSize, 0);
}

TEST(InfoBlock, AnyIntegerButZeroIsPrivate) {
    const struct { std::string Value; std::int32_t Private; } cases[] = {
        {Int(1), 1}, {Int(2), 1}, {Int(-1), 1}, {Int(4294967296), 1}, {Int(4294967297), 1}, {Int(INT64_MIN), 1},
        {Int(0), 0}, {Str("1"), 0}, {List({}), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(Walk(Dict({{"private", c.Value}})).PrivateTorrent, c.Private) << c.Value;
}

TEST(InfoBlock, LengthSumsWrapInsteadOfOverflowing) {
    const std::string entry = Dict({{"length", Int(INT64_MAX)}});
    const TTorrentFile doc = Walk(Dict({{"files", List({entry, entry})}}));
    EXPECT_EQ(doc.TotalSize, -2);
}

TEST(InfoBlock, MultiFileTorrent) {
    const TTorrentFile doc = Walk(
        Dict({{"name", Str("album")},
              {"length", Int(99)},  // read, then ignored
              {"files", List({Dict({{"length", Int(10)}, {"path", List({Str("dir"), Str("a.txt")})}}),
                              Dict({{"path", List({Str("b.txt")})}, {"length", Int(5)}})})}}),
        kFiles);
    EXPECT_EQ(doc.Multifile, 1);
    EXPECT_EQ(doc.FileCount(), 2);
    EXPECT_EQ(doc.TotalSize, 15);
    ASSERT_EQ(doc.Files.size(), 2u);
    EXPECT_EQ(doc.Files[0].PathName(), "dir\\");
    EXPECT_EQ(doc.Files[0].FileName(), "a.txt");
    EXPECT_EQ(doc.Files[0].Size(), 10);
    EXPECT_EQ(doc.Files[1].PathName(), "");
    EXPECT_EQ(doc.Files[1].Size(), 5);
}

TEST(InfoBlock, CorruptFileEntryEndsTheFileWalk) {
    const std::string files = List({Dict({{"length", Int(7)}, {"path", List({Str("a")})}}), Int(3),
                                    Dict({{"length", Int(100)}})});
    for (TParseOptions options : {TParseOptions{}, kFiles}) {
        const TTorrentFile doc = Walk(Dict({{"files", files}}), options);
        EXPECT_EQ(doc.FileCount(), 3);
        EXPECT_EQ(doc.TotalSize, 7);
        EXPECT_TRUE(doc.ErrorFlags().Has(TErrorFlagKind::efCorruptFilesBlock));
        EXPECT_EQ(doc.Files.size(), options == kFiles ? 1u : 0u);
    }
}

TEST(InfoBlock, Utf8PathWinsWhenItHasElements) {
    const auto walkEntry = [](const std::string& Entry) {
        return Walk(Dict({{"files", List({Entry})}}), kFiles).Files.at(0).FullPath();
    };
    EXPECT_EQ(walkEntry(Dict({{"path.utf-8", List({Str("u")})}, {"path", List({Str("p")})}})), "u");
    EXPECT_EQ(walkEntry(Dict({{"path", List({Str("p")})}, {"path.utf-8", List({})}})), "p");
    EXPECT_EQ(walkEntry(Dict({{"path", List({Str("p")})}, {"path.utf-8", List({Int(1), Int(2)})}})), "\\");
    EXPECT_EQ(walkEntry(Dict({{"path", List({Int(1), Str("x")})}})), "\\x");
    EXPECT_EQ(walkEntry(Dict({{"length", Int(1)}})), "");  // no path at all
    EXPECT_EQ(walkEntry(Dict({})), "");
}

TEST(InfoBlock, ValuesThatMustHaveEntriesStopTheWalk) {
    EXPECT_THROW(Walk(Int(1)), WalkError);
    EXPECT_THROW(Walk(Str("info")), WalkError);
    EXPECT_THROW(Walk(Dict({{"files", Str("x")}})), WalkError);
    EXPECT_THROW(Walk(Dict({{"files", List({Dict({{"path", Str("a")}})})}}), kFiles), WalkError);
    EXPECT_THROW(Walk(Dict({{"files", List({Dict({{"path.utf-8", Int(1)}})})}}), kFiles), WalkError);
    // Without poParseFiles paths are not looked at.
    EXPECT_NO_THROW(Walk(Dict({{"files", List({Dict({{"path", Str("a")}})})}})));
}

TEST(InfoBlock, InfoListIsWalkedWithEmptyKeys) {
    const TTorrentFile doc = Walk(List({Str("abc"), Int(5), Str(""), List({})}));
    ASSERT_EQ(doc.CustomFields.Count(), 2);
    EXPECT_EQ(doc.CustomFields[0], u"=abc");
    EXPECT_EQ(doc.CustomFields[1], u"=5");
}

}  // namespace
}  // namespace seedlens
