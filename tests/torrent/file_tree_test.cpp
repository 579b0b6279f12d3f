// v2-only torrents: an info dictionary with a "file tree" and no "pieces".
// The tree is then the file list, and the info hash is the SHA-256.

#include <gtest/gtest.h>

#include <cstdio>

#include "bencode/bencode_tree.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/small_stack.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;

using Members = std::vector<std::pair<std::string, std::string>>;

constexpr TParseOptions kFiles{TParseOptionsKind::poParseFiles};

TTorrentFile WalkInfo(const std::string& Info, TParseOptions Options = {}) {
    TTorrentFile doc;
    doc.ParseOptions = Options;
    doc.Clear();
    MemoryStream stream(Info);
    TBEncodedTree tree(stream);
    doc.ParseInfoBlock(tree.Root());
    return doc;
}

std::string File(std::int64_t Length) { return Dict({{"", Dict({{"length", Int(Length)}, {"pieces root", Str("r")}})}}); }

std::string V2Info(const std::string& Tree, std::int64_t PieceLength = 16384) {
    return Dict({{"file tree", Tree}, {"meta version", Int(2)}, {"name", Str("t")}, {"piece length", Int(PieceLength)}});
}

TEST(FileTree, CountsSizesPiecesAndMultifile) {
    const std::int64_t kHuge = INT64_MAX - 5;
    struct Case {
        const char* Label;
        std::string Info;
        std::int32_t Files;
        std::int64_t Total;
        std::int32_t Pieces;
        std::int32_t Multifile;
    } cases[] = {
        {"one file", V2Info(Dict({{"a.iso", File(40000)}})), 1, 40000, 3, -1},
        {"one file in a folder", V2Info(Dict({{"d", Dict({{"a", File(5)}})}})), 1, 5, 1, 1},
        {"two files", V2Info(Dict({{"a", File(16384)}, {"b", File(16385)}})), 2, 32769, 3, 1},
        {"nested folders",
         V2Info(Dict({{"d", Dict({{"e", Dict({{"x", File(1)}, {"y", File(2)}})}, {"z", File(3)}})}, {"w", File(4)}})), 4,
         10, 4, 1},
        {"empty file takes no piece", V2Info(Dict({{"a", File(0)}, {"b", File(1)}})), 2, 1, 1, 1},
        {"file without length", V2Info(Dict({{"a", Dict({{"", Dict({{"pieces root", Str("r")}})}})}})), 1, 0, 0, -1},
        {"length of another kind", V2Info(Dict({{"a", Dict({{"", Dict({{"length", Str("5")}})}})}})), 1, 0, 0, -1},
        {"last length wins", V2Info(Dict({{"a", Dict({{"", Dict({{"length", Int(1)}, {"length", Int(9)}})}})}})), 1, 9,
         1, -1},
        {"negative length", V2Info(Dict({{"a", File(-5)}, {"b", File(10)}})), 2, 5, 1, 1},
        {"sum wraps", V2Info(Dict({{"a", File(kHuge)}, {"b", File(10)}})), 2, INT64_MIN + 4,
         static_cast<std::int32_t>(static_cast<std::uint32_t>((kHuge - 1) / 16384 + 1 + 1)), 1},
        {"no piece length", V2Info(Dict({{"a", File(5)}}), 0), 1, 5, 0, -1},
        {"negative piece length", V2Info(Dict({{"a", File(5)}}), -16384), 1, 5, 0, -1},
        {"empty key not a dictionary", V2Info(Dict({{"a", Dict({{"", Int(5)}})}})), 0, 0, 0, 1},
        {"values of other kinds ignored", V2Info(Dict({{"a", Int(1)}, {"b", List({File(3)})}, {"c", File(2)}})), 1, 2,
         1, 1},
        {"file with folder beside it", V2Info(Dict({{"a", Dict({{"", Dict({{"length", Int(3)}})}, {"b", File(4)}})}})),
         2, 7, 2, 1},
        {"file at the root", V2Info(Dict({{"", Dict({{"length", Int(3)}})}})), 1, 3, 1, 1},
        {"empty tree", V2Info(Dict({})), 0, 0, 0, 1},
        {"a number beside the root's file", V2Info(Dict({{"a", File(5)}, {"b", Int(1)}})), 1, 5, 1, 1},
        {"a string beside the file in its node",
         V2Info(Dict({{"a", Dict({{"", Dict({{"length", Int(5)}})}, {"x", Str("y")}})}})), 1, 5, 1, 1},
        {"two files under one empty key", V2Info(Dict({{"a", Dict({{"", Dict({{"length", Int(5)}})}, {"", Dict({})}})}})),
         2, 5, 1, 1},
        // The outer empty key is the file; its own "" is no length.
        {"an empty key holding a file", V2Info(Dict({{"", File(5)}})), 1, 0, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        const TTorrentFile doc = WalkInfo(c.Info);
        EXPECT_TRUE(doc.V2Only);
        EXPECT_EQ(doc.FileCount(), c.Files);
        EXPECT_EQ(doc.TotalSize, c.Total);
        EXPECT_EQ(doc.BlockCount, c.Pieces);
        EXPECT_EQ(doc.Multifile, c.Multifile);
        EXPECT_EQ(doc.TorrentName(), "t");
    }
}

TEST(FileTree, WhatIsNotV2Only) {
    const std::string tree = Dict({{"a", File(5)}, {"b", File(7)}});
    const std::string v1Files = List({Dict({{"length", Int(100)}, {"path", List({Str("a")})}})});
    struct Case {
        const char* Label;
        Members Info;
        std::int32_t Files;
        std::int64_t Total;
    } cases[] = {
        {"hybrid", {{"file tree", tree}, {"files", v1Files}, {"pieces", Str(std::string(20, 'h'))}}, 1, 100},
        {"pieces of another kind", {{"file tree", tree}, {"length", Int(3)}, {"pieces", Int(0)}}, 1, 3},
        {"file tree a list", {{"file tree", List({tree})}, {"length", Int(3)}}, 1, 3},
        {"file tree a string", {{"file tree", Str("x")}, {"length", Int(3)}}, 1, 3},
        {"last file tree no dictionary", {{"file tree", tree}, {"file tree", Int(1)}, {"length", Int(3)}}, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        const TTorrentFile doc = WalkInfo(Dict(c.Info));
        EXPECT_FALSE(doc.V2Only);
        EXPECT_EQ(doc.FileCount(), c.Files);
        EXPECT_EQ(doc.TotalSize, c.Total);
    }
    // Without "pieces" the tree wins over a v1 list beside it.
    const TTorrentFile both = WalkInfo(Dict({{"file tree", tree}, {"files", v1Files}}));
    EXPECT_TRUE(both.V2Only);
    EXPECT_EQ(both.FileCount(), 2);
    EXPECT_EQ(both.TotalSize, 12);
}

TEST(FileTree, SubFilesCarryTheirPaths) {
    const TTorrentFile doc =
        WalkInfo(V2Info(Dict({{"d", Dict({{"e", Dict({{"x", File(1)}})}, {"y", File(2)}})}, {"z", File(3)}})), kFiles);
    ASSERT_EQ(doc.Files.size(), 3u);
    EXPECT_EQ(doc.Files[0].FullPath(), "d\\e\\x");
    EXPECT_EQ(doc.Files[0].Size(), 1);
    EXPECT_EQ(doc.Files[1].FullPath(), "d\\y");
    EXPECT_EQ(doc.Files[2].FullPath(), "z");
    EXPECT_EQ(doc.Files[2].Size(), 3);
    // Without poParseFiles only the counts are made.
    EXPECT_TRUE(WalkInfo(V2Info(Dict({{"z", File(3)}}))).Files.empty());
}

TEST(FileTree, SubFilePathsStayNearTheTreesSize) {
    // Long folder names over many files: the list would hold name x files.
    const auto tree = [](std::size_t NameBytes, int Files) {
        std::string folder = "d";
        for (int i = 0; i < Files; ++i) folder += Str("f" + std::to_string(i)) + File(1);
        return V2Info(Dict({{std::string(NameBytes, 'x'), folder + "e"}}));
    };
    const TTorrentFile fine = WalkInfo(tree(200, 1'000), kFiles);
    EXPECT_EQ(fine.Files.size(), 1'000u);
    EXPECT_EQ(fine.Files[999].FullPath(), std::string(200, 'x') + "\\f999");
    EXPECT_THROW(WalkInfo(tree(64 * 1024, 1'000), kFiles), std::exception);
    // Without the list there is nothing to refuse.
    EXPECT_EQ(WalkInfo(tree(64 * 1024, 1'000)).FileCount(), 1'000);
}

TEST(FileTree, HundredThousandFiles) {
    std::string tree = "d";
    for (int i = 0; i < 100'000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%06d", i);
        tree += Str(name) + File(i % 3 == 0 ? 0 : 16385);
    }
    tree += "e";
    const TTorrentFile doc = WalkInfo(V2Info(tree));
    EXPECT_EQ(doc.FileCount(), 100'000);
    EXPECT_EQ(doc.TotalSize, 66'666LL * 16385);
    EXPECT_EQ(doc.BlockCount, 66'666 * 2);
}

TEST(FileTree, FoldersAsDeepAsTheReaderAllowsOnASmallStack) {
    // info, "file tree", the folders and the file's own dictionary.
    const int folders = TBEncodedTree::MaxDepth - 3;
    std::string tree = File(5);
    for (int i = 0; i < folders - 1; ++i) tree = Dict({{"a", tree}});
    const std::string info = V2Info(Dict({{"top", tree}}));
    TTorrentFile doc;
    ASSERT_TRUE(RunOnSmallStack(256 * 1024, [&] { doc = WalkInfo(info, kFiles); }));
    EXPECT_EQ(doc.FileCount(), 1);
    EXPECT_EQ(doc.TotalSize, 5);
    ASSERT_EQ(doc.Files.size(), 1u);
    EXPECT_EQ(doc.Files[0].Count(), folders);
    // One level more and the reader refuses the file.
    const std::string deeperBytes = V2Info(Dict({{"top", Dict({{"a", tree}})}}));
    MemoryStream deeper(deeperBytes);
    EXPECT_THROW(TBEncodedTree{deeper}, std::exception);
}

TEST(FileTree, InfoHashIsTheSha256OfTheInfoBytes) {
    // Digests of the info bytes, made with another implementation.
    const std::string info = "d9:file treed1:ad0:d6:lengthi5eee1:bd0:d6:lengthi7eeee12:piece lengthi16384e4:name1:te";
    TTorrentFile doc;
    const std::string v2Bytes = Dict({{"info", info}});
    MemoryStream v2(v2Bytes);
    doc.LoadStream(v2);
    EXPECT_TRUE(doc.V2Only);
    EXPECT_EQ(doc.Hash, "90fbce4d08d09519cc234c90076cd99568dd761b2db3b22223329be50ed026c4");
    // A later v1 info dictionary is a v1 torrent again.
    const std::string twiceBytes = Dict({{"info", info}, {"info", Dict({{"length", Int(1)}, {"pieces", Str("")}})}});
    MemoryStream twice(twiceBytes);
    doc.LoadStream(twice);
    EXPECT_FALSE(doc.V2Only);
    EXPECT_EQ(doc.Hash.size(), 40u);
}

}  // namespace
}  // namespace seedlens
