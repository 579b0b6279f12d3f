// Writing one field of a record into a host buffer, as each export does.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "bencode/memory_stream.h"
#include "platform/code_pages.h"
#include "plugin/field_values.h"
#include "tests/support/bencode_writer.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

const TWdxPlugin kTable = BuildFieldTable();

const TTorrentInfo::Texts kSampleTexts = {.Name = "name",
                                           .FirstTracker = "http://host:80/announce",
                                           .TrackerShort = "host",
                                           .Creator = "maker",
                                           .Hash = "0123456789abcdef0123456789abcdef01234567",
                                           .Comment = "com",
                                           .Encoding = "UTF-8",
                                           .ErrorString = "err;"};

TTorrentInfo Sample(TTorrentInfo::Texts Texts = kSampleTexts) {
    TTorrentInfo info(Texts);
    info.TotalSize = 3LL * 1024 * 1024 * 1024 + 5;
    info.FileCount = 3;
    info.BlockSize = 262144;
    info.BlockCount = 12;
    info.Created = 37143.0740740741;  // 2001-09-09 01:46:40
    info.PrivateTorrent = 1;
    info.Multifile = -1;
    return info;
}

TTorrentInfo SampleNamed(std::string_view Name) {
    TTorrentInfo::Texts texts = kSampleTexts;
    texts.Name = Name;
    return Sample(texts);
}

struct Buffer {
    alignas(8) unsigned char Bytes[64];
    Buffer() { std::memset(Bytes, 0xAB, sizeof Bytes); }
    std::int64_t Int64() const { std::int64_t v; std::memcpy(&v, Bytes, 8); return v; }
    std::int32_t Int32() const { std::int32_t v; std::memcpy(&v, Bytes, 4); return v; }
    std::string Narrow() const { return reinterpret_cast<const char*>(Bytes); }
    std::u16string Wide() const { std::u16string s; for (std::size_t i = 0; i + 1 < sizeof Bytes; i += 2) { char16_t c; std::memcpy(&c, Bytes + i, 2); if (c == 0) break; s += c; } return s; }
    bool Untouched() const { for (unsigned char b : Bytes) if (b != 0xAB) return false; return true; }
};

std::int32_t Write(const TTorrentInfo& Info, std::int32_t Field, std::int32_t Unit, Buffer& Out, TextWidth Width,
                   std::int32_t MaxLen = 64) {
    return WriteFieldValue(kTable, Info, Field, Unit, Out.Bytes, MaxLen, Width);
}

TEST(FieldValues, NumbersAndUnits) {
    const TTorrentInfo info = Sample();
    struct { std::int32_t Field, Unit; std::int64_t Value; } cases[] = {
        {2, 0, 3LL * 1024 * 1024 * 1024 + 5}, {2, 1, 3LL * 1024 * 1024}, {2, 2, 3072}, {2, 3, 3},
        {3, 0, 262144}, {3, 1, 256}, {3, 2, 0},
    };
    for (const auto& c : cases) {
        Buffer out;
        EXPECT_EQ(Write(info, c.Field, c.Unit, out, TextWidth::Wide), 2);
        EXPECT_EQ(out.Int64(), c.Value) << c.Field << "/" << c.Unit;
    }
    Buffer count;
    EXPECT_EQ(Write(info, 1, 0, count, TextWidth::Narrow), 1);
    EXPECT_EQ(count.Int32(), 3);
    EXPECT_EQ(Write(info, 4, 0, count, TextWidth::Narrow), 1);
    EXPECT_EQ(count.Int32(), 12);
}

TEST(FieldValues, NegativeSizesTruncateTowardZero) {
    TTorrentInfo info = Sample();
    info.TotalSize = -1048575;
    Buffer out;
    EXPECT_EQ(Write(info, 2, 2, out, TextWidth::Narrow), 2);
    EXPECT_EQ(out.Int64(), 0);
}

TEST(FieldValues, EmptySizes) {
    TTorrentInfo info = Sample();
    info.TotalSize = 0;
    info.BlockSize = 0;
    Buffer wide, narrow, block;
    EXPECT_EQ(Write(info, 2, 0, wide, TextWidth::Wide), -3);
    EXPECT_TRUE(wide.Untouched());
    EXPECT_EQ(Write(info, 2, 3, narrow, TextWidth::Narrow), 2);
    EXPECT_EQ(narrow.Int64(), 0);
    EXPECT_EQ(Write(info, 3, 0, block, TextWidth::Narrow), -3);
    EXPECT_TRUE(block.Untouched());
}

TEST(FieldValues, Booleans) {
    TTorrentInfo info = Sample();
    for (std::int32_t flag : {1, 0, -1, 2}) {
        info.PrivateTorrent = flag;
        info.Multifile = flag;
        Buffer p, m;
        EXPECT_EQ(Write(info, 11, 0, p, TextWidth::Wide), 6);
        EXPECT_EQ(Write(info, 12, 0, m, TextWidth::Narrow), 6);
        EXPECT_EQ(p.Int32(), flag == 1 ? -1 : 0);
        EXPECT_EQ(m.Int32(), flag == 1 ? -1 : 0);
    }
}

TEST(FieldValues, Dates) {
    TTorrentInfo info = Sample();
    Buffer out;
    EXPECT_EQ(Write(info, 6, 0, out, TextWidth::Wide), 10);
    EXPECT_EQ(out.Int64(), 126444736000000000);  // 2001-09-09 01:46:40 UTC
    info.Created = 0;  // no date: empty, not 30 December 1899
    Buffer none;
    EXPECT_EQ(Write(info, 6, 0, none, TextWidth::Narrow), -3);
    EXPECT_TRUE(none.Untouched());
}

TEST(FieldValues, DateConversionAtTheEdges) {
    EXPECT_EQ(DateTimeToFileTime(-109205.0), 0u);            // 1601-01-01
    EXPECT_EQ(DateTimeToFileTime(2.0), 94353120000000000u + 2 * 864000000000u);
    // 1850-06-01 06:00 UTC, a negative TDateTime split by floor.
    EXPECT_EQ(DateTimeToFileTime(-18108.75), 78707160000000000u);
    EXPECT_FALSE(DateTimeToFileTime(-109206.0));
    EXPECT_FALSE(DateTimeToFileTime(1e300));
    EXPECT_FALSE(DateTimeToFileTime(std::nan("")));
}

// The file time a "creation date" reaches the host as, through the
// document's TDateTime.
std::optional<std::uint64_t> FileTimeOfCreationDate(std::int64_t Value) {
    const std::string bytes = test::Dict({{"creation date", test::Int(Value)}});
    MemoryStream stream(bytes);
    TTorrentFile doc;
    doc.LoadStream(stream);
    return DateTimeToFileTime(doc.Created);
}

TEST(FieldValues, CreationDatesReachTheHostToTheMillisecond) {
    constexpr std::int64_t k1970 = 116444736000000000;
    constexpr std::int64_t kLastSecond = 910670515199;  // 30827-12-31 23:59:59
    constexpr std::int64_t kFirstSecond = -11644473600;  // 1601-01-01
    struct { std::int64_t Value, Ticks; } edges[] = {
        {1452468725091, k1970 + 1452468725091 * 10000},  // 2016-01-10 23:32:05.091
        {1452468725, k1970 + 1452468725 * 10000000LL},
        {kLastSecond, k1970 + kLastSecond * 10000000},
        {kLastSecond + 1, k1970 + (kLastSecond + 1) * 10000},
        {kLastSecond * 1000 + 999, k1970 + (kLastSecond * 1000 + 999) * 10000},
        {kFirstSecond, 0},
    };
    for (const auto& e : edges)
        EXPECT_EQ(FileTimeOfCreationDate(e.Value), static_cast<std::uint64_t>(e.Ticks)) << e.Value;
    EXPECT_FALSE(FileTimeOfCreationDate(kLastSecond * 1000 + 1000));
    // Only dates past the last second are taken for milliseconds.
    EXPECT_FALSE(FileTimeOfCreationDate(kFirstSecond - 1));
    EXPECT_FALSE(FileTimeOfCreationDate(kFirstSecond * 1000));
    // Every millisecond of a second, across the range read as milliseconds:
    // none is lost to rounding on the way.
    const std::pair<std::int64_t, std::int64_t> ranges[] = {{kLastSecond + 1, kLastSecond * 1000 + 999}};
    for (const auto& [first, last] : ranges) {
        for (std::int64_t step = 0; step < 4000; ++step) {
            const std::int64_t value = first + step * ((last - first) / 4000) + step % 1000;
            ASSERT_EQ(FileTimeOfCreationDate(value), static_cast<std::uint64_t>(k1970 + value * 10000)) << value;
        }
    }
}

TEST(FieldValues, TextsInBothWidths) {
    const TTorrentInfo info = Sample();
    struct { std::int32_t Field, Unit; const char* Text; } cases[] = {
        {0, 0, "name"}, {5, 0, "http://host:80/announce"}, {5, 1, "host"}, {8, 0, "com"},
        {9, 0, "maker"}, {10, 0, "UTF-8"}, {13, 0, "err;"},
    };
    for (const auto& c : cases) {
        Buffer narrow, wide;
        EXPECT_EQ(Write(info, c.Field, c.Unit, narrow, TextWidth::Narrow), 8);
        EXPECT_EQ(narrow.Narrow(), c.Text);
        EXPECT_EQ(Write(info, c.Field, c.Unit, wide, TextWidth::Wide), 11);
        EXPECT_EQ(wide.Wide(), std::u16string(c.Text, c.Text + std::strlen(c.Text)));
    }
}

// Hosts may hand the wide call a buffer at any address. Each text mixes a
// run of ASCII with characters past it, a surrogate pair among them.
TEST(FieldValues, WideTextsAtAnyAddress) {
    const TTorrentInfo info = Sample({.Name = "caf\xC3\xA9 \xF0\x9F\x98\x80 twelve ascii",
                                      .FirstTracker = "udp://tr\xC3\xA4" "cker.example:6969/announce",
                                      .TrackerShort = "tr\xC3\xA4" "cker.example",
                                      .Creator = "\xE6\x97\xA5\xE6\x9C\xAC maker 1.0",
                                      .Hash = "0123456789abcdef0123456789abcdef01234567",
                                      .Comment = "long comment \xC3\xA9\xC3\xA8 and more words",
                                      .Encoding = "UTF-8",
                                      .ErrorString = "Bad \xE2\x80\x94 announce;"});
    const struct { std::int32_t Field, Unit; std::string_view Text; } cases[] = {
        {0, 0, info.Name()},    {5, 0, info.FirstTracker()}, {5, 1, info.TrackerShort()}, {7, 0, info.Hash()},
        {8, 0, info.Comment()}, {9, 0, info.Creator()},      {10, 0, info.Encoding()},    {13, 0, info.ErrorString()},
    };
    constexpr std::int32_t kMaxLen = 96;
    for (const auto& c : cases) {
        const std::u16string expected = platform::Utf8ToUtf16(c.Text);
        ASSERT_LT(expected.size() * 2 + 2, static_cast<std::size_t>(kMaxLen));
        for (const std::size_t offset : {1, 2, 3}) {
            unsigned char bytes[kMaxLen + 8];
            std::memset(bytes, 0xAB, sizeof bytes);
            EXPECT_EQ(WriteFieldValue(kTable, info, c.Field, c.Unit, bytes + offset, kMaxLen, TextWidth::Wide), 11);
            std::u16string written(expected.size() + 1, u'?');
            std::memcpy(written.data(), bytes + offset, written.size() * 2);
            EXPECT_EQ(written, expected + u'\0') << c.Field << "/" << c.Unit << " at offset " << offset;
            for (std::size_t i = 0; i < sizeof bytes; ++i) {
                const bool outside = i < offset || i >= offset + written.size() * 2;
                EXPECT_TRUE(!outside || bytes[i] == 0xAB) << "byte " << i << " written at offset " << offset;
            }
        }
    }
}

TEST(FieldValues, WideMaxLenCountsBytes) {
    const TTorrentInfo info = SampleNamed("abcdefgh");
    Buffer out;
    EXPECT_EQ(Write(info, 0, 0, out, TextWidth::Wide, 9), 11);  // 9 bytes: 4 units, 3 letters
    EXPECT_EQ(out.Wide(), u"abc");
    EXPECT_EQ(out.Bytes[8], 0xAB);  // nothing past the ninth byte
    Buffer tiny;
    EXPECT_EQ(Write(info, 0, 0, tiny, TextWidth::Wide, 1), -3);
    EXPECT_TRUE(tiny.Untouched());
    Buffer two;
    EXPECT_EQ(Write(info, 0, 0, two, TextWidth::Wide, 2), 11);
    EXPECT_EQ(two.Wide(), u"");
}

TEST(FieldValues, CutsKeepWholeCharacters) {
    TTorrentInfo info = SampleNamed("a\xF0\x9F\x98\x80z");  // a, U+1F600 (a surrogate pair), z
    Buffer wide;
    EXPECT_EQ(Write(info, 0, 0, wide, TextWidth::Wide, 6), 11);  // room for 2 units
    EXPECT_EQ(wide.Wide(), u"a");
    info = SampleNamed("a\xC3\xA9\xC3\xA9");
    Buffer narrow;
    EXPECT_EQ(Write(info, 0, 0, narrow, TextWidth::Narrow, 3), 8);  // room for 2 bytes
    // "é" takes two bytes in UTF-8 and one in a Western code page.
    EXPECT_EQ(narrow.Narrow(), platform::Utf16ToNarrow(platform::Utf16ToNarrow(u"é").size() == 1 ? u"aé" : u"a"));
    Buffer one;
    EXPECT_EQ(Write(info, 0, 0, one, TextWidth::Narrow, 1), 8);
    EXPECT_EQ(one.Narrow(), "");
}

TEST(FieldValues, InvalidUtf8NeverReachesTheHostRaw) {
    const TTorrentInfo info = SampleNamed(std::string_view("x\xC0\x80y\xED\xA0\x80", 7));
    Buffer wide, narrow;
    Write(info, 0, 0, wide, TextWidth::Wide);
    const std::u16string text = wide.Wide();
    ASSERT_GE(text.size(), 4u);  // nothing cut the text short
    EXPECT_EQ(text.front(), u'x');
    for (char16_t c : text) EXPECT_TRUE(c == u'x' || c == u'y' || c == 0xFFFD);
    Write(info, 0, 0, narrow, TextWidth::Narrow);
    EXPECT_EQ(narrow.Narrow(), platform::Utf16ToNarrow(text));
}

TEST(FieldValues, ZeroInsideATextEndsIt) {
    TTorrentInfo::Texts texts = kSampleTexts;
    texts.Comment = std::string_view("before\0after", 12);
    const TTorrentInfo info = Sample(texts);
    Buffer wide, narrow;
    Write(info, 8, 0, wide, TextWidth::Wide);
    Write(info, 8, 0, narrow, TextWidth::Narrow);
    EXPECT_EQ(wide.Wide(), u"before");
    EXPECT_EQ(narrow.Narrow(), "before");
}

TEST(FieldValues, FieldsAndUnitsOutsideTheTable) {
    const TTorrentInfo info = Sample();
    struct { std::int32_t Field, Unit; } cases[] = {{18, 0}, {-1, 0}, {14, 1}, {15, 1}, {0, 1}, {2, 4}, {3, 3}, {5, 2}, {6, -1}};
    for (const auto& c : cases) {
        Buffer out;
        EXPECT_EQ(Write(info, c.Field, c.Unit, out, TextWidth::Wide), 0);
        EXPECT_TRUE(out.Untouched());
    }
    EXPECT_EQ(WriteFieldValue(kTable, info, 0, 0, nullptr, 64, TextWidth::Wide), -3);
    EXPECT_EQ(WriteFieldValue(kTable, info, 2, 0, nullptr, 64, TextWidth::Narrow), -3);
}

}  // namespace
}  // namespace seedlens
