// What holds on POSIX only: UTF-8 as the 8-bit interface, exact file-name
// keys, and files that are no regular files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/code_pages.h"
#include "platform/text_compare.h"
#include "tests/support/hex.h"
#include "tests/support/temp_dir.h"
#include "torrent/load_error.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

TEST(PosixNarrowInterface, IsUtf8) {
    EXPECT_EQ(platform::NarrowToUtf16(test::Hex("c3a9")), u"é");
    EXPECT_EQ(platform::Utf16ToNarrow(u"é"), test::Hex("c3a9"));
}

TEST(PosixFileNames, CompareExactly) {
    EXPECT_NE(platform::CompareFileNames(u"a.torrent", u"A.torrent"), 0);
    EXPECT_EQ(platform::CompareFileNames(u"a.torrent", u"a.torrent"), 0);
    EXPECT_LT(platform::CompareFileNames(u"a", u"b"), 0);
    EXPECT_LT(platform::CompareFileNames(u"abcdefgh1", u"abcdefgh2"), 0);
    EXPECT_GT(platform::CompareFileNames(u"abcdefghij", u"abcdefgh"), 0);
}

TEST(PosixCaseFolding, SimpleFoldingOnly) {
    EXPECT_FALSE(platform::EqualIgnoringCase(u"Straße", u"STRASSE"));  // no expansion of ß
    EXPECT_TRUE(platform::EqualIgnoringCase(u"\U00010428", u"\U00010400"));  // Deseret, beyond the BMP
}

std::string FailureOf(const std::string& Path) {
    TTorrentFile doc;
    try {
        doc.LoadFile(platform::Utf8ToUtf16(Path));
        return "";
    } catch (const LoadError& e) {
        return e.what();
    }
}

TEST(PosixLoadFile, NoRegularFileIsRead) {
    test::TempDir dir;
    // A FIFO would block a plain open until a writer came.
    const auto fifo = dir.Path() / "fifo.torrent";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(FailureOf(fifo.string()), "Cannot open the file");
    // A device never ends.
    EXPECT_EQ(FailureOf("/dev/zero"), "Cannot open the file");
    EXPECT_EQ(FailureOf("/dev/null"), "Cannot open the file");
}

TEST(PosixLoadFile, AReadErrorIsAFailedLoad) {
    // The process's memory shows as a regular file, and reading it where
    // nothing is mapped fails: what was read is not taken for the whole file.
    EXPECT_EQ(FailureOf("/proc/self/mem"), "The file cannot be read");
}

}  // namespace
}  // namespace seedlens
