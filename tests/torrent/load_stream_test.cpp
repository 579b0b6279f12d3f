// Loading a document from bencoded bytes: the top-level walk, trackers, web
// seeds, dates, the info hash and the failures.

#include <gtest/gtest.h>

#include <cmath>

#include "bencode/memory_stream.h"
#include "platform/code_pages.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/hex.h"
#include "torrent/hashes.h"
#include "torrent/load_error.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;

const std::string kInfo =
    Dict({{"length", Int(5)}, {"name", Str("a")}, {"piece length", Int(16384)}, {"pieces", Str(std::string(20, 'h'))}});
const std::u16string kInfoMessage = u"Missing or corrupt 'info' segment.";
const std::u16string kAnnounceMessage = u"Missing or corrupt 'announce-list' segment.";

TTorrentFile Load(const std::string& Bytes, TParseOptions Options = {TParseOptionsKind::poFindEncoding}) {
    TTorrentFile doc;
    doc.ParseOptions = Options;
    MemoryStream stream(Bytes);
    doc.LoadStream(stream);
    return doc;
}

std::string FailureOf(const std::string& Bytes, TTorrentFile* Doc = nullptr) {
    TTorrentFile local;
    TTorrentFile& doc = Doc != nullptr ? *Doc : local;
    MemoryStream stream(Bytes);
    try {
        doc.LoadStream(stream);
        return "";
    } catch (const LoadError& e) {
        return e.what();
    }
}

std::vector<std::u16string> Texts(const TextList& List) { return {List.begin(), List.end()}; }

TEST(LoadStream, ReaderAndWalkFailures) {
    struct { std::string Bytes; const char* Message; } cases[] = {
        {"", "Parser error code: 1"},
        {"x", "Parser error code: 8"},
        {"d4:info", "Parser error code: 1"},
        {"i5e", "Parser error code: 14"},
        {"5:hello", "Parser error code: 14"},
        {"di1ee", "Parser error code: 7"},
        {Dict({{"info", Str("not a dictionary")}}), "Parser error code: 14"},
        {Dict({{"info", Dict({{"files", Int(3)}})}}), "Parser error code: 14"},
        {"d1:ai--1ee", "Parser error code: '--1' is not a valid integer value"},
        {std::string(600, 'l'), "Parser error code: 15"},
    };
    for (const auto& c : cases) EXPECT_EQ(FailureOf(c.Bytes), c.Message) << c.Bytes;
}

TEST(LoadStream, EmptyDictionaryLoadsWithTheInfoMessage) {
    const TTorrentFile doc = Load("de");
    EXPECT_EQ(Texts(doc.Errors), std::vector<std::u16string>{kInfoMessage});
    EXPECT_EQ(doc.ErrorString(), "Missing or corrupt 'info' segment.;");
    EXPECT_EQ(doc.Hash, "");
    EXPECT_TRUE(doc.Trackers.Empty());
    EXPECT_EQ(doc.Multifile, -1);
}

TEST(LoadStream, RootListIsWalkedWithoutMatchingKeys) {
    const TTorrentFile doc = Load(List({Str("announce"), Str("http://x")}));
    EXPECT_TRUE(doc.Trackers.Empty());
    EXPECT_EQ(Texts(doc.Errors), std::vector<std::u16string>{kInfoMessage});
}

TEST(LoadStream, Trackers) {
    const std::string kLongAddress = "http://" + std::string(300, 'a') + ".org/announce";
    const std::string kLongAddressUpper = "HTTP://" + std::string(300, 'A') + ".ORG/announce";
    struct Case {
        std::string Bytes;
        std::vector<std::u16string> Trackers;
        std::string First;
        bool AnnounceListCorrupt;
    } cases[] = {
        {Dict({{"announce", Str("http://A")}}), {u"http://A"}, "http://A", false},
        // Announce already listed in other letter case: not inserted.
        {Dict({{"announce", Str("http://A")}, {"announce-list", List({List({Str("http://B")}), List({Str("http://a")})})}}),
         {u"http://B", u"http://a"}, "http://B", false},
        {Dict({{"announce", Str("http://A")},
               {"announce-list", List({List({Str("http://B"), Str("http://C")}), Str("x"), List({Str("http://D")})})}}),
         {u"http://A", u"http://B", u"http://C"}, "http://A", true},
        // Items that name no address are skipped: the next real one takes their place.
        {Dict({{"announce-list", List({List({Int(1), Str("http://B")})})}}), {u"http://B"}, "http://B", false},
        {Dict({{"announce", Str("http://A")}, {"announce-list", List({List({Int(1)})})}}), {u"http://A"}, "http://A", false},
        {Dict({{"announce-list", List({List({Str("")}), List({Str("http://B")})})}}), {u"http://B"}, "http://B", false},
        {Dict({{"announce-list", List({List({Str(" \t\r\n"), List({}), Str("http://B")}), List({Int(0), Str("")})})}}),
         {u"http://B"}, "http://B", false},
        {Dict({{"announce-list", List({List({Str("http://B")}), List({Dict({}), Str("http://C")})})}}),
         {u"http://B", u"http://C"}, "http://B", false},
        // A blank announce names no tracker either.
        {Dict({{"announce", Str("  ")}, {"announce-list", List({List({Str("http://B")})})}}), {u"http://B"}, "http://B", false},
        {Dict({{"announce", Str(" \t")}}), {}, "", false},
        // Duplicates within the list are dropped, the first place kept.
        {Dict({{"announce-list", List({List({Str("http://X"), Str("HTTP://x")}), List({Str("http://x")})})}}),
         {u"http://X"}, "http://X", false},
        // A list of the wrong kind does not sink the torrent.
        {Dict({{"announce", Str("http://A")}, {"announce-list", Str("http://B")}}), {u"http://A"}, "http://A", true},
        {Dict({{"Announce", Str("http://A")}}), {}, "", false},
        // A later "announce" of the wrong kind forgets an earlier one.
        {Dict({{"announce", Str("http://A")}, {"announce", Int(1)}}), {}, "", false},
        // Trackers that are not UTF-8 are read in the legacy code page.
        {Dict({{"announce", Str("http://caf\xe9")}}), {u"http://café"}, "http://caf\xc3\xa9", false},
        // UTF-8 ones as UTF-8, long ones too, and found in the list in other letter case.
        {Dict({{"announce", Str("http://трекер.пример.рф/announce")}}), {u"http://трекер.пример.рф/announce"},
         "http://трекер.пример.рф/announce", false},
        {Dict({{"announce", Str("http://caf\xc3\xa9/" + std::string(300, 'a'))}}),
         {u"http://café/" + std::u16string(300, u'a')}, "http://caf\xc3\xa9/" + std::string(300, 'a'), false},
        {Dict({{"announce", Str("http://ТРЕКЕР.рф")},
               {"announce-list",
                List({List({Str("http://трекер.рф"), Str("http://Трекер.РФ"), Str("http://caf\xc9")})})}}),
         {u"http://трекер.рф", u"http://cafÉ"}, "http://трекер.рф", false},
        // Non-ASCII and long announces are found in the list as well as short ASCII ones.
        {Dict({{"announce", Str("http://caf\xe9")}, {"announce-list", List({List({Str("http://CAF\xc9")})})}}),
         {u"http://CAFÉ"}, "http://CAF\xc3\x89", false},
        {Dict({{"announce", Str(kLongAddress)}, {"announce-list", List({List({Str(kLongAddressUpper)})})}}),
         {std::u16string(kLongAddressUpper.begin(), kLongAddressUpper.end())}, kLongAddressUpper, false},
        {Dict({{"announce", Str(kLongAddress)}, {"announce-list", List({List({Str("http://B")})})}}),
         {std::u16string(kLongAddress.begin(), kLongAddress.end()), u"http://B"}, kLongAddress, false},
    };
    for (const Case& c : cases) {
        const TTorrentFile doc = Load(c.Bytes);
        EXPECT_EQ(Texts(doc.Trackers), c.Trackers) << c.Bytes;
        EXPECT_EQ(doc.FirstTracker, c.First) << c.Bytes;
        EXPECT_EQ(doc.ErrorFlags().Has(TErrorFlagKind::efCorruptAnnounceList), c.AnnounceListCorrupt) << c.Bytes;
    }
}

TEST(LoadStream, IllFormedUtf8TrackersAreReplacedAsNamesAre) {
    // Shaped like UTF-8, so not read in the legacy code page, but no
    // character: an overlong form, an encoded surrogate, a value past U+10FFFF.
    const std::string cases[] = {"http://x\xC0\x80y", "http://\xED\xA0\x80",
                                 "http://\xF4\x90\x80\x80/" + std::string(300, 'a')};
    for (const std::string& address : cases) {
        const TTorrentFile doc = Load(Dict({{"announce", Str(address)},
                                            {"info", Dict({{"name", Str(address)}})},
                                            {"url-list", Str(address)}}));
        ASSERT_EQ(doc.Trackers.Count(), 1) << address;
        const std::u16string asName = platform::Utf8ToUtf16(doc.TorrentName());
        EXPECT_EQ(doc.Trackers[0], asName) << address;
        EXPECT_EQ(doc.Webseeds[0], asName) << address;
        EXPECT_NE(asName.find(u'\uFFFD'), std::u16string::npos) << address;
        EXPECT_EQ(platform::Utf8ToUtf16(doc.FirstTracker), asName) << address;
    }
}

TEST(LoadStream, TrackerDuplicatesPastAShortList) {
    // Short lists are searched, longer ones hashed: duplicates are found
    // the same way on both sides of the switch.
    std::vector<std::string> first, second;
    std::vector<std::u16string> expected;
    for (int i = 0; i < 40; ++i) {
        const std::string address = "http://t" + std::to_string(i) + ".org/a";
        first.push_back(Str(address));
        second.push_back(Str("HTTP://T" + std::to_string(i) + ".ORG/a"));
        expected.emplace_back(address.begin(), address.end());
    }
    second.push_back(Str("http://new.org/a"));
    expected.push_back(u"http://new.org/a");
    const std::string list = List({List(first), List(second)});
    struct { std::string Announce; std::u16string FirstTracker; } cases[] = {
        {"http://T35.org/a", u"http://t0.org/a"},  // already listed: stays where it is
        {"http://NEW.org/a", u"http://t0.org/a"},
        {"http://other.org/a", u"http://other.org/a"},  // new: goes first
    };
    for (const auto& c : cases) {
        const TTorrentFile doc = Load(Dict({{"announce", Str(c.Announce)}, {"announce-list", list}}));
        std::vector<std::u16string> trackers = expected;
        if (c.FirstTracker != expected.front()) trackers.insert(trackers.begin(), c.FirstTracker);
        EXPECT_EQ(Texts(doc.Trackers), trackers) << c.Announce;
    }
}

TEST(LoadStream, ErrorMessagesInFlagOrder) {
    const TTorrentFile doc = Load(Dict({{"announce-list", List({Str("x")})}}));
    EXPECT_EQ(Texts(doc.Errors), (std::vector<std::u16string>{kInfoMessage, kAnnounceMessage}));
}

TEST(LoadStream, Webseeds) {
    struct { std::string Bytes; std::vector<std::u16string> Seeds; } cases[] = {
        {Dict({{"httpseeds", List({Str("H")})}, {"url-list", List({Str("W"), Str("W")})}}), {u"H", u"W", u"W"}},
        {Dict({{"url-list", Str("http://one")}}), {u"http://one"}},  // a lone string is one seed
        {Dict({{"httpseeds", Int(3)}}), {}},
        {Dict({{"url-list", List({Int(1), Str(""), Str(" "), Str("W")})}}), {u"W"}},
        {Dict({{"url-list", Str("")}}), {}},
        {Dict({{"url-list", List({Str("a")})}, {"url-list", List({Str("b")})}}), {u"a", u"b"}},
        // Read like trackers: UTF-8 when they are, otherwise the legacy code page.
        {Dict({{"url-list", Str("http://зеркало.рф/")}}), {u"http://зеркало.рф/"}},
        {Dict({{"httpseeds", List({Str("http://\xe9")})}, {"url-list", List({Str("http://\xc3\xa9")})}}),
         {u"http://é", u"http://é"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Texts(Load(c.Bytes).Webseeds), c.Seeds) << c.Bytes;
}

// Days since 1899-12-30 of a UTC calendar time, computed independently.
double DateTimeOf(int Year, int Month, int Day, int Hour, int Minute, int Second) {
    // Days from civil, as in Howard Hinnant's published algorithm.
    const int y = Year - (Month <= 2);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (Month + (Month > 2 ? -3 : 9)) + 2) / 5 + Day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long long days = era * 146097LL + doe - 719468 + 25569;
    return static_cast<double>(days) + (Hour * 3600 + Minute * 60 + Second) / 86400.0;
}

TEST(LoadStream, CreationDates) {
    struct { std::string Value; double Created; } cases[] = {
        {Int(1000000000), 37143.0740740741},
        {Int(0), 25569},
        {Int(2147483647), DateTimeOf(2038, 1, 19, 3, 14, 7)},
        {Int(2147483648), DateTimeOf(2038, 1, 19, 3, 14, 8)},  // not 1901: all 64 bits count
        {Int(4294967296), DateTimeOf(2106, 2, 7, 6, 28, 16)},
        {Int(-3866032800), DateTimeOf(1847, 6, 29, 6, 0, 0)},
        {Int(-11644473600), DateTimeOf(1601, 1, 1, 0, 0, 0)},
        {Int(910670515199), DateTimeOf(30827, 12, 31, 23, 59, 59)},
        // Out of range as seconds, in range as milliseconds.
        {Int(910670515200), DateTimeOf(1998, 11, 10, 4, 1, 55) + 0.2 / 86400},
        {Int(1452468725091), DateTimeOf(2016, 1, 10, 23, 32, 5) + 0.091 / 86400},
        {Int(910670515199999), DateTimeOf(30827, 12, 31, 23, 59, 59) + 0.999 / 86400},
        // Before 1601 or past the last millisecond: no date.
        {Int(-11644473601), 0},
        {Int(-11644473600000), 0},
        {Int(910670515200000), 0},
        {Int(-11644473600001), 0},
        {Int(INT64_MAX), 0},
        {Int(INT64_MIN), 0},
        {Str("1000000000"), 0},  // not an integer: no date
    };
    for (const auto& c : cases) {
        const TTorrentFile doc = Load(Dict({{"creation date", c.Value}}));
        EXPECT_NEAR(doc.Created, c.Created, 1e-9) << c.Value;
    }
    EXPECT_EQ(Load("de").Created, 0);
}

TEST(LoadStream, TextsAndTheirEncodings) {
    // Sorted keys: "created by" is decoded before "encoding" is met.
    const TTorrentFile doc = Load(Dict({{"comment", Str(Hex("a4a4 a4e5"))},
                                        {"created by", Str(Hex("a4a4"))},
                                        {"encoding", Str("big5")},
                                        {"info", kInfo}}));
    EXPECT_EQ(doc.Comment, "中文");
    EXPECT_EQ(doc.Creator, Hex("c2a4 c2a4"));  // legacy code page
    EXPECT_EQ(doc.Encoding, "big5");
    EXPECT_TRUE(doc.Errors.Empty());
}

TEST(LoadStream, InfoHashIsOverTheStoredBytes) {
    const std::string info = Dict({{"name", Str("x")}, {"pieces", Str(std::string("\0\xff\x80", 3))}});
    const std::string hash = GetStringHash(info, true);
    EXPECT_EQ(Load(Dict({{"announce", Str("http://a")}, {"info", info}})).Hash, hash);
    EXPECT_EQ(Load(Dict({{"comment", Str("other")}, {"info", info}})).Hash, hash);
    const std::string changed = Dict({{"name", Str("y")}, {"pieces", Str(std::string("\0\xff\x80", 3))}});
    EXPECT_NE(Load(Dict({{"info", changed}})).Hash, hash);
    // Two "info" keys: both are walked, the second one's hash remains.
    const TTorrentFile twice = Load(Dict({{"info", info}, {"info", changed}}));
    EXPECT_EQ(twice.Hash, GetStringHash(changed, true));
    EXPECT_EQ(twice.TorrentName(), "y");
}

TEST(LoadStream, InfoThatIsNoDictionaryHasNoHash) {
    const TTorrentFile doc = Load(Dict({{"info", List({Str("abc")})}}));
    EXPECT_EQ(doc.Hash, "");
    EXPECT_EQ(Texts(doc.Errors), std::vector<std::u16string>{kInfoMessage});
    EXPECT_EQ(Texts(doc.CustomFields), std::vector<std::u16string>{u"=abc"});
}

TEST(LoadStream, AFailedWalkLeavesWhatCameBefore) {
    TTorrentFile doc;
    const std::string bytes = Dict({{"announce", Str("http://a")},
                                    {"comment", Str("c")},
                                    {"created by", Str("maker")},
                                    {"info", Int(1)}});
    EXPECT_EQ(FailureOf(bytes, &doc), "Parser error code: 14");
    EXPECT_EQ(doc.Creator, "maker");
    EXPECT_EQ(doc.Comment, "");
    EXPECT_EQ(doc.FirstTracker, "");
    EXPECT_TRUE(doc.Errors.Empty());
}

TEST(LoadStream, LoadingAgainGivesTheSameDocument) {
    const std::string first = Dict({{"announce", Str("http://a")}, {"comment", Str("one")}, {"info", kInfo}});
    const std::string second = Dict({{"announce-list", List({Str("x")})}, {"info", List({})}});
    TTorrentFile reused;
    MemoryStream a(first), b(second);
    reused.LoadStream(a);
    reused.LoadStream(b);
    const TTorrentFile fresh = Load(second);
    EXPECT_EQ(Texts(reused.Trackers), Texts(fresh.Trackers));
    EXPECT_EQ(Texts(reused.Errors), Texts(fresh.Errors));
    EXPECT_EQ(reused.Comment, fresh.Comment);
    EXPECT_EQ(reused.TorrentName(), fresh.TorrentName());
    EXPECT_EQ(reused.Hash, fresh.Hash);
    EXPECT_EQ(reused.Files.size(), fresh.Files.size());
}

TEST(LoadStream, ReadsFromTheStreamPosition) {
    const std::string bytes = "junk" + Dict({{"info", kInfo}});
    MemoryStream stream(bytes);
    stream.Seek(4, MemoryStream::Origin::Beginning);
    TTorrentFile doc;
    doc.LoadStream(stream);
    EXPECT_EQ(doc.Hash, GetStringHash(kInfo, true));
}

}  // namespace
}  // namespace seedlens
