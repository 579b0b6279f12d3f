// Padding entries of a "files" list: not counted as files, not added to the
// total, but kept (marked) in the sub-file list, with everything else as it
// was.

#include <gtest/gtest.h>

#include "bencode/bencode_tree.h"
#include "tests/support/bencode_writer.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;

constexpr TParseOptions kFiles{TParseOptionsKind::poParseFiles};

TTorrentFile WalkFiles(const std::string& Entry, TParseOptions Options = {}) {
    // A real 100-byte file before and after the entry under test.
    const std::string real = Dict({{"length", Int(100)}, {"path", List({Str("real")})}});
    TTorrentFile doc;
    doc.ParseOptions = Options;
    doc.Clear();
    const std::string info = Dict({{"files", List({real, Entry, real})},
                                   {"piece length", Int(16384)},
                                   {"pieces", Str(std::string(60, 'h'))}});
    MemoryStream stream(info);
    TBEncodedTree tree(stream);
    doc.ParseInfoBlock(tree.Root());
    return doc;
}

std::string Entry(std::vector<std::pair<std::string, std::string>> Members) {
    Members.insert(Members.begin(), {"length", Int(7)});
    return Dict(Members);
}

TEST(PaddingFiles, WhichEntriesArePadding) {
    const std::string padName = "_____padding_file_0_if you see this file, please update your BitComet";
    struct Case {
        const char* Label;
        std::string Entry;
        bool Padding;
    } cases[] = {
        {"attr p", Entry({{"attr", Str("p")}, {"path", List({Str("x")})}}), true},
        {"attr with p among others", Entry({{"attr", Str("xph")}}), true},
        {"attr p and no path at all", Entry({{"attr", Str("p")}}), true},
        {"executable", Entry({{"attr", Str("x")}, {"path", List({Str("x")})}}), false},
        {"hidden", Entry({{"attr", Str("h")}, {"path", List({Str("x")})}}), false},
        {"link", Entry({{"attr", Str("l")}, {"path", List({Str("x")})}}), false},
        {"capital P", Entry({{"attr", Str("P")}, {"path", List({Str("x")})}}), false},
        {"attr not a string", Entry({{"attr", List({Str("p")})}, {"path", List({Str("x")})}}), false},
        {"old creators' name", Entry({{"path", List({Str(padName)})}}), true},
        {"the bare prefix", Entry({{"path", List({Str("_____padding_file_")})}}), true},
        {"name in a folder", Entry({{"path", List({Str(".pad"), Str(padName)})}}), true},
        {"name in path.utf-8", Entry({{"path", List({Str("x")})}, {"path.utf-8", List({Str(padName)})}}), true},
        {"executable with the old creators' name", Entry({{"attr", Str("x")}, {"path", List({Str(padName)})}}), true},
        {"name not last", Entry({{"path", List({Str(padName), Str("x")})}}), false},
        {"prefix cut short", Entry({{"path", List({Str("____padding_file_")})}}), false},
        {"name inside, not first", Entry({{"path", List({Str("a_____padding_file_")})}}), false},
        {"last element no string", Entry({{"path", List({Str(padName), Int(1)})}}), false},
        {"ordinary file", Entry({{"path", List({Str("x")})}}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        const TTorrentFile counted = WalkFiles(c.Entry);
        EXPECT_EQ(counted.FileCount(), c.Padding ? 2 : 3);
        EXPECT_EQ(counted.TotalSize, c.Padding ? 200 : 207);
        // The rest is as for any file.
        EXPECT_EQ(counted.BlockCount, 3);
        EXPECT_EQ(counted.Multifile, 1);
        EXPECT_FALSE(counted.ErrorFlags().Has(TErrorFlagKind::efCorruptFilesBlock));
        const TTorrentFile listed = WalkFiles(c.Entry, kFiles);
        ASSERT_EQ(listed.Files.size(), 3u);
        EXPECT_EQ(listed.Files[1].IsPadding(), c.Padding);
        EXPECT_EQ(listed.Files[1].Size(), 7);
        EXPECT_FALSE(listed.Files[0].IsPadding());
        EXPECT_FALSE(listed.Files[2].IsPadding());
        EXPECT_EQ(listed.FileCount(), counted.FileCount());
        EXPECT_EQ(listed.TotalSize, counted.TotalSize);
    }
}

TEST(PaddingFiles, OnlyPaddingLeavesNoFiles) {
    const std::string pad = Dict({{"attr", Str("p")}, {"length", Int(16384)}, {"path", List({Str("p")})}});
    TTorrentFile doc;
    doc.Clear();
    const std::string info = Dict({{"files", List({pad, pad})}});
    MemoryStream stream(info);
    TBEncodedTree tree(stream);
    doc.ParseInfoBlock(tree.Root());
    EXPECT_EQ(doc.FileCount(), 0);
    EXPECT_EQ(doc.TotalSize, 0);
    EXPECT_EQ(doc.Multifile, 1);
}

TEST(PaddingFiles, LeftOutOfTheCountBehindACorruptEntry) {
    const std::string real = Dict({{"length", Int(100)}, {"path", List({Str("real")})}});
    const std::string pad = Dict({{"attr", Str("p")}, {"length", Int(7)}, {"path", List({Str(".pad"), Str("7")})}});
    struct Case {
        const char* Label;
        std::vector<std::string> Entries;
        std::int32_t Files;
    } cases[] = {
        {"padding before the corrupt entry", {real, pad, Int(5)}, 2},
        {"padding behind the corrupt entry", {real, Int(5), pad}, 2},
        {"a real file behind the corrupt entry", {real, Int(5), real}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        TTorrentFile doc;
        doc.Clear();
        const std::string info = Dict({{"files", List(c.Entries)}});
        MemoryStream stream(info);
        TBEncodedTree tree(stream);
        doc.ParseInfoBlock(tree.Root());
        EXPECT_TRUE(doc.ErrorFlags().Has(TErrorFlagKind::efCorruptFilesBlock));
        EXPECT_EQ(doc.FileCount(), c.Files);
        EXPECT_EQ(doc.TotalSize, 100);  // nothing behind the corrupt entry is summed
    }
}

TEST(PaddingFiles, SingleFileTorrentsHaveNone) {
    // "attr" of a single-file torrent is not a files entry's.
    TTorrentFile doc;
    doc.Clear();
    const std::string info = Dict({{"attr", Str("p")}, {"length", Int(5)}, {"name", Str("_____padding_file_")}});
    MemoryStream stream(info);
    TBEncodedTree tree(stream);
    doc.ParseInfoBlock(tree.Root());
    EXPECT_EQ(doc.FileCount(), 1);
    EXPECT_EQ(doc.TotalSize, 5);
}

}  // namespace
}  // namespace seedlens
