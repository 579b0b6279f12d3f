// The fields users copy and pass on: SHA-256, Magnet, Source and Format,
// through both value exports of the built module.

#include <gtest/gtest.h>

#include "bencode/memory_stream.h"
#include "platform/code_pages.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/plugin_module.h"
#include "tests/support/temp_dir.h"
#include "torrent/magnet_link.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;

constexpr std::int32_t kSha256 = 14, kMagnet = 15, kSource = 16, kFormat = 17;
const std::string kNone = "(result -3)";

const std::string kHostileName = "a b&c%d#e\x01\xc3\xa9\xe4\xb8\xad/+=";
const std::string kV1Info =
    Dict({{"length", Int(5)}, {"name", Str(kHostileName)}, {"piece length", Int(16384)}, {"pieces", Str(std::string(20, 'A'))}});
const std::string kTree = Dict({{"a", Dict({{"", Dict({{"length", Int(5)}, {"pieces root", Str(std::string(32, 'R'))}})}})}});
const std::string kHybridInfo =
    Dict({{"file tree", kTree}, {"name", Str("h")}, {"piece length", Int(16384)}, {"pieces", Str(std::string(20, 'P'))}});
const std::string kV2Info = Dict({{"file tree", kTree}, {"name", Str("v")}, {"piece length", Int(16384)}});

// Digests and escapes made with Python's hashlib and urllib.
const std::string kV1Btih = "xt=urn:btih:6218c876edfc5a4c07e516ef3164ea8f656b9f20";
const std::string kHybridBtih = "xt=urn:btih:55ed5945c621f8d567c3b56d5d6db05a1cae42e2";
const std::string kHybridSha256 = "1e2a5f7a43e082fc55db430a9a659f1c87d69548fea6f00878632dcf7c5eba76";
const std::string kV2Sha256 = "c61bad2d7b9e698485d1381efdba1c8f668dbf629afb10451e2553fa42e769b7";
const std::string kTrackerA = "udp://t.example:80/a?k=v&x=%41#f";
const std::string kTrackerAEscaped = "udp%3a%2f%2ft.example%3a80%2fa%3fk%3dv%26x%3d%2541%23f";
const std::string kTrackerB = "http://\xd1\x82\xd1\x80\xd0\xb5\xd0\xba\xd0\xb5\xd1\x80.\xd1\x80\xd1\x84/announce";
const std::string kTrackerBEscaped = "http%3a%2f%2f%d1%82%d1%80%d0%b5%d0%ba%d0%b5%d1%80.%d1%80%d1%84%2fannounce";

class PassOnFields : public testing::Test {
protected:
    std::string Write(const std::string& Bytes) {
        return Dir.Write("t" + std::to_string(++Written) + ".torrent", Bytes).string();
    }
    TempDir Dir;
    PluginModule Module{Dir.Path()};
    int Written = 0;
};

TEST_F(PassOnFields, ThroughBothExports) {
    const struct {
        const char* Name;
        std::string Torrent;
        std::string Sha256, Magnet, Source, Format;
    } cases[] = {
        {"v1 with trackers, web seeds and a hostile name",
         Dict({{"announce", Str(kTrackerA)},
               {"announce-list", List({List({Str(kTrackerA), Str("")}), List({Str(kTrackerB), Str(kTrackerA)})})},
               {"httpseeds", List({Str("http://http-seed.example/")})},
               {"url-list", List({Str("http://seed.example/a b/"), Str("")})},
               {"info", kV1Info}}),
         kNone,
         "magnet:?" + kV1Btih + "&dn=a%20b%26c%25d%23e%01%c3%a9%e4%b8%ad%2f%2b%3d&tr=" + kTrackerAEscaped +
             "&tr=" + kTrackerBEscaped + "&ws=http%3a%2f%2fseed.example%2fa%20b%2f",
         kNone, "v1"},
        {"hybrid", Dict({{"info", kHybridInfo}}), kHybridSha256,
         "magnet:?" + kHybridBtih + "&xt=urn:btmh:1220" + kHybridSha256 + "&dn=h", kNone, "hybrid"},
        {"v2 with a lone url-list and no name",
         Dict({{"url-list", Str("http://s/")}, {"info", Dict({{"file tree", kTree}, {"piece length", Int(16384)}})}}),
         "4ef93d6287909fccd89fb386751784ba8524f58b311021fe219e88301bfdf391",
         "magnet:?xt=urn:btmh:12204ef93d6287909fccd89fb386751784ba8524f58b311021fe219e88301bfdf391&ws=http%3a%2f%2fs%2f",
         kNone, "v2"},
        {"v2", Dict({{"info", kV2Info}}), kV2Sha256, "magnet:?xt=urn:btmh:1220" + kV2Sha256 + "&dn=v", kNone, "v2"},
        {"no info", Dict({{"announce", Str("http://t/")}}), kNone, kNone, kNone, kNone},
        {"info of another kind", Dict({{"info", List({})}}), kNone, kNone, kNone, kNone},
        {"source in UTF-8", Dict({{"info", Dict({{"name", Str("n")}, {"source", Str("\xd0\x90" "BC")}})}}), kNone,
         "", "\xd0\x90" "BC", "v1"},
        {"source in a declared code page",
         Dict({{"encoding", Str("GBK")}, {"info", Dict({{"name", Str("n")}, {"source", Str("\xd6\xd0")}})}}), kNone, "",
         "\xe4\xb8\xad", "v1"},
        {"a later v1 info replaces an earlier hybrid one",
         Dict({{"info", Dict({{"file tree", kTree}, {"name", Str("h")}, {"pieces", Str(std::string(20, 'P'))},
                              {"source", Str("S1")}})},
               {"info", kV1Info}}),
         kNone, "", kNone, "v1"},
        {"source of another kind", Dict({{"info", Dict({{"name", Str("n")}, {"source", Int(7)}})}}), kNone, "", kNone,
         "v1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = Write(c.Torrent);
        for (const bool wide : {true, false}) {
            const auto text = [&](std::int32_t Field) {
                return wide ? Module.WideText(path, Field) : Module.NarrowText(path, Field);
            };
            // The 8-bit export speaks the host's code page: UTF-8 on Linux, the active one on Windows.
            const auto shown = [&](const std::string& Utf8) {
                if (wide || Utf8 == kNone) return Utf8;
                return platform::Utf16ToUtf8(platform::NarrowToUtf16(platform::Utf16ToNarrow(platform::Utf8ToUtf16(Utf8))));
            };
            EXPECT_EQ(text(kSha256), c.Sha256);
            if (!c.Magnet.empty()) {
                EXPECT_EQ(text(kMagnet), c.Magnet);
            }
            EXPECT_EQ(text(kSource), shown(c.Source));
            EXPECT_EQ(text(kFormat), c.Format);
        }
    }
}

// The whole parameters that fit before the terminator; nothing when the
// hashes alone do not.
std::string Fitting(const std::string& Link, std::size_t Units) {
    std::string best;
    std::size_t at = Link.find('&');
    std::size_t hashes = std::string::npos;
    for (;; at = Link.find('&', at + 1)) {
        const std::size_t end = at == std::string::npos ? Link.size() : at;
        if (hashes == std::string::npos && Link.compare(end, 4, "&xt=") != 0) hashes = end;
        if (end >= hashes && end < Units) best = Link.substr(0, end);
        if (at == std::string::npos) break;
    }
    return best.empty() ? kNone : best;
}

TEST_F(PassOnFields, MagnetKeepsWholeParametersAtEveryBufferSize) {
    const std::string path = Write(Dict({{"announce-list", List({List({Str("udp://a:1/x"), Str(kTrackerB)})})},
                                         {"url-list", List({Str("http://s1/"), Str("http://s2/")})},
                                         {"info", kHybridInfo}}));
    const std::string link = Module.WideText(path, kMagnet);
    ASSERT_EQ(link.rfind("magnet:?" + kHybridBtih + "&xt=urn:btmh:1220", 0), 0u) << link;
    for (std::size_t units = 1; units <= link.size() + 1; ++units) {
        const std::string expected = Fitting(link, units);
        ASSERT_EQ(Module.WideText(path, kMagnet, static_cast<std::int32_t>(2 * units)), expected) << units;
        ASSERT_EQ(Module.NarrowText(path, kMagnet, static_cast<std::int32_t>(units)), expected) << units;
    }
}

TEST(MagnetLink, BoundedByWholeParameters) {
    std::vector<std::string> trackers;
    for (int i = 0; i < 1000; ++i) trackers.push_back(List({Str("http://tracker-" + std::to_string(i) + ".example/announce")}));
    const struct {
        const char* Name;
        std::string Torrent;
        std::size_t Max;
        std::string Starts, Ends;
    } cases[] = {
        {"1,000 trackers give their first ones", Dict({{"announce-list", List(trackers)}, {"info", kV2Info}}), 65536,
         "magnet:?xt=urn:btmh:1220" + kV2Sha256 + "&dn=v&tr=http%3a%2f%2ftracker-0.example", "announce"},
        {"a 64 KiB name leaves the hashes alone",
         Dict({{"announce", Str("http://t/")}, {"info", Dict({{"file tree", kTree}, {"name", Str(std::string(65536, '%'))}})}}),
         65536, "magnet:?xt=urn:btmh:1220", ""},
        {"hashes that do not fit give nothing", Dict({{"info", kHybridInfo}}), 100, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string bytes = c.Torrent;
        MemoryStream stream(bytes);
        TTorrentFile doc;
        doc.LoadStream(stream);
        const std::string link = MagnetLink(doc, c.Max);
        EXPECT_LE(link.size(), c.Max);
        EXPECT_EQ(link.rfind(c.Starts, 0), 0u);
        EXPECT_TRUE(link.size() >= c.Ends.size() && link.compare(link.size() - c.Ends.size(), c.Ends.size(), c.Ends) == 0)
            << link.substr(link.size() > 80 ? link.size() - 80 : 0);
        if (c.Starts.empty()) {
            EXPECT_EQ(link, "");
        }
        if (c.Ends.empty() && !link.empty()) {
            EXPECT_EQ(link.find('&'), std::string::npos);
        }
        EXPECT_EQ(MagnetPrefix(link, link.size()), link.size());
    }
}

}  // namespace
}  // namespace seedlens
