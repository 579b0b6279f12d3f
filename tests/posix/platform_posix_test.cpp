// What holds on POSIX only: UTF-8 as the 8-bit interface, exact file-name
// keys, files that are no regular files, and local times.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdlib>
#include <tuple>

#include "platform/code_pages.h"
#include "platform/local_time.h"
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

// Windows compares through its own locale functions; these are the
// folding's answers, where the C library's upper-casing gave others.
TEST(PosixCaseFolding, SimpleFoldingOnly) {
    struct { std::u16string_view A, B; bool Equal; } cases[] = {
        {u"Straße", u"STRASSE", false},  // no expansion of ß
        {u"\U00010428", u"\U00010400", true},  // Deseret, beyond the BMP
        {u"http://\U00010428.org", u"HTTP://\U00010400.ORG", true},
        {u"\U00010428", u"\U00010401", false},
        {u"\u212A", u"k", true},    // Kelvin sign
        {u"\u212A", u"K", true},
        {u"\u1E9E", u"ß", true},    // capital sharp s
        {u"\u03F4", u"θ", true},    // capital theta symbol
        {u"\u03F4", u"\u03D1", true},  // both fold to θ
        {u"\u0131", u"i", false},   // dotless i stays apart
        {u"\u0131", u"I", false},
        {u"\u0130", u"i", false},
        {u"\u017F", u"s", true},    // long s
        {u"\u017F", u"S", true},
        {u"tra\u212Aer.org", u"TRAKER.ORG", true},
        {u"\xD801", u"\xD801", true},  // lone surrogates stand for themselves
        {u"\xD801x", u"\xD801X", true},
        {u"\xD801\xDC00", u"\xD801x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::Utf16ToUtf8(c.A) + " / " + platform::Utf16ToUtf8(c.B));
        EXPECT_EQ(platform::EqualIgnoringCase(c.A, c.B), c.Equal);
        EXPECT_EQ(platform::EqualIgnoringCase(c.B, c.A), c.Equal);
        // Hashed look-ups must find what the comparison finds.
        EXPECT_EQ(platform::CaseInsensitiveKey(c.A) == platform::CaseInsensitiveKey(c.B), c.Equal);
    }
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


TEST(PosixLocalTime, OffsetInForceOnThatDate) {
    // A rule written out, so no time-zone database is needed.
    const char* before = std::getenv("TZ");
    const std::string saved = before != nullptr ? before : "";
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    const struct {
        std::int64_t FileTime;
        platform::LocalTime Expected;
    } cases[] = {
        {130317833010000000, {2013, 12, 17, 20, 48, 21, 3600}},   // winter
        {132944736000000000, {2022, 4, 15, 7, 20, 0, 7200}},      // summer
        {116444735990000000, {1970, 1, 1, 0, 59, 59, 3600}},     // before 1970
        {130969423259990000, {2016, 1, 11, 0, 32, 5, 3600}},      // the fraction is not rounded up
    };
    for (const auto& c : cases) {
        const auto local = platform::ToLocalTime(c.FileTime);
        ASSERT_TRUE(local.has_value());
        EXPECT_EQ(std::tie(local->Year, local->Month, local->Day, local->Hour, local->Minute, local->Second,
                           local->OffsetSeconds),
                  std::tie(c.Expected.Year, c.Expected.Month, c.Expected.Day, c.Expected.Hour, c.Expected.Minute,
                           c.Expected.Second, c.Expected.OffsetSeconds))
            << c.FileTime;
    }
    if (before != nullptr) ::setenv("TZ", saved.c_str(), 1);
    else ::unsetenv("TZ");
    ::tzset();
}

}  // namespace
}  // namespace seedlens
