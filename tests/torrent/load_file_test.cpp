// Reading files from disk: only whole regular files, never blocking, never
// pulling a huge file into memory.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/code_pages.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/temp_dir.h"
#include "torrent/load_error.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;

std::string FailureOf(const std::filesystem::path& Path) {
    TTorrentFile doc;
    try {
        doc.LoadFile(platform::Utf8ToUtf16(Path.string()));
        return "";
    } catch (const LoadError& e) {
        return e.what();
    }
}

TEST(LoadFile, ReadsARegularFile) {
    TempDir dir;
    const std::string info = Dict({{"length", Int(3)}, {"name", Str("n")}});
    const auto path = dir.Write("a.torrent", Dict({{"comment", Str("hi")}, {"info", info}}));
    TTorrentFile doc;
    doc.LoadFile(platform::Utf8ToUtf16(path.string()));
    EXPECT_EQ(doc.Comment, "hi");
    EXPECT_EQ(doc.TorrentName(), "n");
    TTorrentFile narrow;
    narrow.LoadFile(path.string());
    EXPECT_EQ(narrow.TorrentName(), "n");
}

// Small files are read onto the stack, larger ones into a buffer of their
// size: every byte must arrive on both sides of the switch.
TEST(LoadFile, WholeFileArrivesAtEverySizeAroundTheStackBuffer) {
    TempDir dir;
    const std::string info = Dict({{"length", Int(3)}, {"name", Str("n")}});
    const std::size_t frame = Dict({{"comment", Str("")}, {"info", info}, {"z", Str("")}}).size();
    const std::size_t stack = TTorrentFile::kStackReadBytes;
    for (const std::size_t size : {stack - 2, stack - 1, stack, stack + 1, 3 * stack}) {
        // The comment fills the file to Size bytes; a file cut short would not parse.
        const std::size_t comment = size - frame - (std::to_string(size).size() - 1) - 1;
        const std::string bytes = Dict({{"comment", Str(std::string(comment, 'c'))}, {"info", info}, {"z", Str("!")}});
        ASSERT_EQ(bytes.size(), size);
        TTorrentFile doc;
        doc.LoadFile(dir.Write("sized.torrent", bytes).string());
        EXPECT_EQ(doc.Comment.size(), comment) << size;
        EXPECT_EQ(doc.TorrentName(), "n") << size;
    }
}

TEST(LoadFile, NonUtf8AndNonAsciiNames) {
    TempDir dir;
    const auto path = dir.Write("日本 é.torrent", "de");
    TTorrentFile doc;
    EXPECT_NO_THROW(doc.LoadFile(platform::Utf8ToUtf16(path.string())));
}

TEST(LoadFile, WhatCannotBeReadIsAFailedLoad) {
    TempDir dir;
    EXPECT_EQ(FailureOf(dir.Path() / "missing.torrent"), "Cannot open the file");
    std::filesystem::create_directory(dir.Path() / "folder.torrent");
    EXPECT_EQ(FailureOf(dir.Path() / "folder.torrent"), "Cannot open the file");
}

TEST(LoadFile, EmptyAndNonTorrentFiles) {
    TempDir dir;
    EXPECT_EQ(FailureOf(dir.Write("empty.torrent", "")), "Parser error code: 1");
    EXPECT_EQ(FailureOf(dir.Write("text.torrent", "hello")), "Parser error code: 8");
    EXPECT_EQ(FailureOf(dir.Write("int.torrent", "i5e")), "Parser error code: 8");
}

TEST(LoadFile, FilesLargerThanTheLimitAreRefusedUnread) {
    TempDir dir;
    const auto path = dir.Path() / "huge.torrent";
    {
        std::ofstream out(path, std::ios::binary);
        out << "d";
    }
    // Sparse: no disk space is used, and nothing should read it.
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(TTorrentFile::MaxFileBytes) + 1);
    EXPECT_EQ(FailureOf(path), "The file is too large");
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(TTorrentFile::MaxFileBytes));
    EXPECT_EQ(FailureOf(path), "Parser error code: 7");  // read, then refused by the reader
}

}  // namespace
}  // namespace seedlens
