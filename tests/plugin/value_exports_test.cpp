// The value exports of the built Seedlens.wdx, loaded at run time and called
// by name as a host does. Each test loads its own copy of the module, so
// each starts with an empty cache.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "plugin/content_plugin_api.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
namespace fs = std::filesystem;

using seedlens::host::GetValueFn;
using seedlens::host::GetValueWFn;

class ValueExports : public testing::Test {
protected:
    ValueExports() {
        static int copies = 0;
        const fs::path copy = Dir.Path() / ("Seedlens-" + std::to_string(++copies) + ".wdx");
        fs::copy_file(SEEDLENS_WDX_PATH, copy);
        Library = std::make_unique<platform::DynamicLibrary>(copy.string());
        GetValue = reinterpret_cast<GetValueFn>(Library->Symbol("ContentGetValue"));
        GetValueW = reinterpret_cast<GetValueWFn>(Library->Symbol("ContentGetValueW"));
    }

    std::string Write(const std::string& Name, const std::string& Bytes) { return Dir.Write(Name, Bytes).string(); }

    struct Answer {
        std::int32_t Result;
        std::int64_t Integer;
        std::string Text;  // UTF-8
    };
    Answer Wide(const std::string& Path, std::int32_t Field, std::int32_t Unit = 0, std::int32_t Flags = 0) {
        const std::u16string name = platform::Utf8ToUtf16(Path);
        char16_t buffer[1024] = {};
        Answer a{GetValueW(name.c_str(), Field, Unit, buffer, sizeof buffer, Flags), 0, ""};
        std::memcpy(&a.Integer, buffer, 8);
        if (a.Result == 11) a.Text = platform::Utf16ToUtf8(buffer);
        return a;
    }
    Answer Narrow(const std::string& Path, std::int32_t Field, std::int32_t Unit = 0, std::int32_t Flags = 0) {
        char buffer[1024] = {};
        const std::string name = platform::Utf16ToNarrow(platform::Utf8ToUtf16(Path));
        Answer a{GetValue(name.c_str(), Field, Unit, buffer, sizeof buffer, Flags), 0, ""};
        std::memcpy(&a.Integer, buffer, 8);
        if (a.Result == 8) a.Text = platform::Utf16ToUtf8(platform::NarrowToUtf16(buffer));
        return a;
    }

    // What the host's 8-bit text can hold of a text.
    static std::string NarrowedByHost(std::string_view Utf8) {
        return platform::Utf16ToUtf8(platform::NarrowToUtf16(platform::Utf16ToNarrow(platform::Utf8ToUtf16(Utf8))));
    }

    TempDir Dir;
    std::unique_ptr<platform::DynamicLibrary> Library;
    GetValueFn GetValue = nullptr;
    GetValueWFn GetValueW = nullptr;
};

const std::string kTorrent = Dict({
    {"announce", Str("udp://user:pw@tracker.example.org:80/announce")},
    {"comment", Str("a comment")},
    {"created by", Str("maker 1.0")},
    {"creation date", Int(1000000000)},
    {"encoding", Str("UTF-8")},
    {"info", Dict({{"files", List({Dict({{"length", Int(1048576)}, {"path", List({Str("a")})}}),
                                   Dict({{"length", Int(1048576)}, {"path", List({Str("b")})}})})},
                   {"name", Str("Caf\xc3\xa9")},
                   {"piece length", Int(262144)},
                   {"pieces", Str(std::string(160, 'p'))},
                   {"private", Int(1)}})},
});

TEST_F(ValueExports, EveryFieldThroughBothExports) {
    const std::string path = Write("t.torrent", kTorrent);
    struct { std::int32_t Field, Unit, Type; std::int64_t Integer; const char* Text; } cases[] = {
        {0, 0, 8, 0, "Caf\xc3\xa9"},
        {1, 0, 1, 2, nullptr},
        {2, 0, 2, 2097152, nullptr}, {2, 1, 2, 2048, nullptr}, {2, 2, 2, 2, nullptr}, {2, 3, 2, 0, nullptr},
        {3, 0, 2, 262144, nullptr}, {3, 1, 2, 256, nullptr}, {3, 2, 2, 0, nullptr},
        {4, 0, 1, 8, nullptr},
        {5, 0, 8, 0, "udp://user:pw@tracker.example.org:80/announce"},
        {5, 1, 8, 0, "tracker.example.org"},
        {6, 0, 10, 126444736000000000, nullptr},
        {7, 0, 8, 0, nullptr},  // checked below
        {8, 0, 8, 0, "a comment"},
        {9, 0, 8, 0, "maker 1.0"},
        {10, 0, 8, 0, "UTF-8"},
        {11, 0, 6, -1, nullptr},
        {12, 0, 6, -1, nullptr},
        {13, 0, 8, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Field * 10 + c.Unit);
        const Answer narrow = Narrow(path, c.Field, c.Unit);
        const Answer wide = Wide(path, c.Field, c.Unit);
        EXPECT_EQ(narrow.Result, c.Type);
        EXPECT_EQ(wide.Result, c.Type == 8 ? 11 : c.Type);
        if (c.Text != nullptr) {
            EXPECT_EQ(narrow.Text, c.Text);
            EXPECT_EQ(wide.Text, c.Text);
        } else if (c.Type == 1 || c.Type == 6) {
            EXPECT_EQ(static_cast<std::int32_t>(narrow.Integer), c.Integer);
            EXPECT_EQ(static_cast<std::int32_t>(wide.Integer), c.Integer);
        } else if (c.Type != 8) {
            EXPECT_EQ(narrow.Integer, c.Integer);
            EXPECT_EQ(wide.Integer, c.Integer);
        }
    }
    EXPECT_EQ(Wide(path, 7).Text.size(), 40u);
    EXPECT_EQ(Wide(path, 7).Text, Narrow(path, 7).Text);
}

TEST_F(ValueExports, TodaysCreatorsTorrents) {
    const std::string fileTree = Dict({
        {"d", Dict({{"a", Dict({{"", Dict({{"length", Int(40000)}, {"pieces root", Str(std::string(32, 'r'))}})}})},
                    {"b", Dict({{"", Dict({{"length", Int(16384)}, {"pieces root", Str(std::string(32, 'r'))}})}})}})},
    });
    const std::string v2Only = Write(
        "v2.torrent", Dict({{"info", Dict({{"file tree", fileTree}, {"meta version", Int(2)}, {"name", Str("d")},
                                           {"piece length", Int(16384)}})}}));
    const auto file = [](std::int64_t Length, const char* Attr, const char* Name) {
        return Dict({{"attr", Str(Attr)}, {"length", Int(Length)}, {"path", List({Str("d"), Str(Name)})}});
    };
    const std::string hybrid = Write(
        "hybrid.torrent",
        Dict({{"info", Dict({{"file tree", fileTree},
                             {"files", List({file(40000, "", "a"), file(9152, "p", "9152"), file(16384, "x", "b")})},
                             {"meta version", Int(2)},
                             {"name", Str("d")},
                             {"piece length", Int(16384)},
                             {"pieces", Str(std::string(80, 'h'))}})}}));
    struct { const std::string& Path; std::int32_t Files; std::int64_t Total; std::int32_t Pieces; std::size_t Sha; } cases[] = {
        {v2Only, 2, 56384, 4, 64},
        {hybrid, 2, 56384, 4, 40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        for (const Answer& a : {Wide(c.Path, 1), Narrow(c.Path, 1)}) EXPECT_EQ(static_cast<std::int32_t>(a.Integer), c.Files);
        for (const Answer& a : {Wide(c.Path, 2), Narrow(c.Path, 2)}) EXPECT_EQ(a.Integer, c.Total);
        EXPECT_EQ(Wide(c.Path, 2, 1).Integer, c.Total / 1024);
        EXPECT_EQ(static_cast<std::int32_t>(Wide(c.Path, 4).Integer), c.Pieces);
        EXPECT_NE(static_cast<std::int32_t>(Wide(c.Path, 12).Integer), 0);  // multi-file
        const std::string sha = Wide(c.Path, 7).Text;
        EXPECT_EQ(sha.size(), c.Sha);
        EXPECT_EQ(Narrow(c.Path, 7).Text, sha);
        EXPECT_EQ(Wide(c.Path, 13).Text, "");
    }
}

// A torrent a client refuses says why, through both exports.
TEST_F(ValueExports, ErrorsNameStructuralFaults) {
    const std::string info = Dict({{"length", Int(-10)}, {"name", Str("a")}, {"piece length", Int(16384)},
                                   {"pieces", Str(std::string(19, 'h'))}});
    const std::string path = Write("refused.torrent", Dict({{"info", info}}));
    const std::string expected = "Missing or corrupt 'pieces' value.;Missing or corrupt file length.;";
    EXPECT_EQ(Wide(path, 13).Text, expected);
    EXPECT_EQ(Narrow(path, 13).Text, expected);
    EXPECT_EQ(Wide(path, 2).Integer, -10);  // the fields stay as they were
}

// Texts, trackers and the private flag as clients read them: every label
// of an encoding, list items that name no address skipped, any integer but 0
// private, the host cut after "//" only after a scheme.
TEST_F(ValueExports, ValuesAsClientsReadThem) {
    const std::string info = Dict({{"name", Str("n")}});
    const std::string gbk = "\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4";  // "中文测试" in GBK
    const struct Case {
        const char* Name;
        std::string Bytes;
        std::int32_t Field, Unit;
        const char* Text;      // nullptr for the private flag, which is Private below
        std::int64_t Private;  // -1 for yes, as the host reads a flag
    } cases[] = {
        {"gbk", Dict({{"comment", Str(gbk)}, {"encoding", Str("GBK")}, {"info", info}}), 8, 0, "中文测试", 0},
        {"cp936", Dict({{"comment", Str(gbk)}, {"encoding", Str(" cp936 ")}, {"info", info}}), 8, 0, "中文测试", 0},
        {"integer item", Dict({{"announce-list", "ll" + Int(1) + Str("http://a/x") + "ee"}, {"info", info}}), 5, 0,
         "http://a/x", 0},
        {"empty tier item", Dict({{"announce-list", "ll0:el" + Str("http://b/x") + "ee"}, {"info", info}}), 5, 0,
         "http://b/x", 0},
        {"no scheme", Dict({{"announce", Str("tracker.example.com:6969/a//b")}, {"info", info}}), 5, 1,
         "tracker.example.com", 0},
        {"private 2", Dict({{"info", Dict({{"name", Str("n")}, {"private", Int(2)}})}}), 11, 0, nullptr, -1},
        {"private -1", Dict({{"info", Dict({{"name", Str("n")}, {"private", Int(-1)}})}}), 11, 0, nullptr, -1},
        {"private 2^32", Dict({{"info", Dict({{"name", Str("n")}, {"private", Int(4294967296)}})}}), 11, 0, nullptr, -1},
        {"private 0", Dict({{"info", Dict({{"name", Str("n")}, {"private", Int(0)}})}}), 11, 0, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = Write(std::string(c.Name) + ".torrent", c.Bytes);
        const Answer wide = Wide(path, c.Field, c.Unit), narrow = Narrow(path, c.Field, c.Unit);
        if (c.Text != nullptr) {
            EXPECT_EQ(wide.Text, c.Text);
            EXPECT_EQ(narrow.Text, NarrowedByHost(c.Text));
        } else {
            EXPECT_EQ(static_cast<std::int32_t>(wide.Integer), c.Private);
            EXPECT_EQ(static_cast<std::int32_t>(narrow.Integer), c.Private);
        }
    }
}

TEST_F(ValueExports, EmptyFieldsDifferByExport) {
    const std::string path = Write("empty.torrent", Dict({{"info", Dict({{"name", Str("n")}})}}));
    EXPECT_EQ(Wide(path, 2).Result, -3);
    const Answer narrow = Narrow(path, 2);
    EXPECT_EQ(narrow.Result, 2);
    EXPECT_EQ(narrow.Integer, 0);
    EXPECT_EQ(Wide(path, 3).Result, -3);
    EXPECT_EQ(Narrow(path, 3).Result, -3);
    EXPECT_EQ(Wide(path, 6).Result, -3);  // no creation date
    EXPECT_EQ(Narrow(path, 6).Result, -3);
}

TEST_F(ValueExports, Utf8TrackersAndMillisecondDates) {
    const std::string path = Write("today.torrent", Dict({{"announce", Str("http://трекер.пример.рф/announce")},
                                                           {"creation date", Int(1452468725091)},
                                                           {"info", Dict({{"name", Str("n")}})}}));
    // The 8-bit export gives what the host's 8-bit text can hold of it.
    const auto narrowed = NarrowedByHost;
    struct { std::int32_t Unit; const char* Text; } trackers[] = {
        {0, "http://трекер.пример.рф/announce"},
        {1, "трекер.пример.рф"},
    };
    for (const auto& t : trackers) {
        EXPECT_EQ(Wide(path, 5, t.Unit).Text, t.Text);
        EXPECT_EQ(Narrow(path, 5, t.Unit).Text, narrowed(t.Text));
    }
    const std::int64_t fileTime = 116444736000000000 + 1452468725091 * 10000;  // 2016-01-10 23:32:05.091
    for (const Answer& date : {Wide(path, 6), Narrow(path, 6)}) {
        EXPECT_EQ(date.Result, 10);
        EXPECT_EQ(date.Integer, fileTime);
    }
}

TEST_F(ValueExports, OneLoadServesBothExports) {
    const std::string path = Write("once.torrent", kTorrent);
    EXPECT_EQ(Narrow(path, 0).Text, "Caf\xc3\xa9");
    fs::remove(path);  // from now on only the cache can answer
    EXPECT_EQ(Wide(path, 0).Text, "Caf\xc3\xa9");
    EXPECT_EQ(Wide(path, 9, 0, 1).Text, "maker 1.0");  // cached: answered with the immediate flag
}

TEST_F(ValueExports, ImmediateFlagNeverLoads) {
    const std::string path = Write("later.torrent", kTorrent);
    EXPECT_EQ(Wide(path, 0, 0, 1).Result, 0);
    EXPECT_EQ(Wide(path, 0, 0, 1 | 2 | 4).Result, 0);
    EXPECT_EQ(Wide(path, 0, 0, 2).Result, 11);  // other bits are ignored
}

TEST_F(ValueExports, MissingFilesAreTriedAgain) {
    const std::string path = (Dir.Path() / "appears.torrent").string();
    EXPECT_EQ(Wide(path, 0).Result, 0);
    EXPECT_EQ(Narrow(path, 0).Result, 0);
    Write("appears.torrent", kTorrent);
    EXPECT_EQ(Wide(path, 0).Text, "Caf\xc3\xa9");
}

TEST_F(ValueExports, FailuresAnswerZero) {
    const std::string text = Write("text.torrent", "plain text");
    const std::string broken = Write("broken.torrent", "d4:info");
    fs::create_directory(Dir.Path() / "folder.torrent");
    for (const std::string& path : {text, broken, (Dir.Path() / "folder.torrent").string()}) {
        EXPECT_EQ(Wide(path, 0).Result, 0) << path;
        EXPECT_EQ(Narrow(path, 13).Result, 0) << path;
    }
    char buffer[8];
    EXPECT_EQ(GetValueW(nullptr, 0, 0, buffer, sizeof buffer, 0), 0);
    EXPECT_EQ(GetValue(nullptr, 0, 0, buffer, sizeof buffer, 0), 0);
}

TEST_F(ValueExports, BadArgumentsWriteNothing) {
    const std::string path = Write("args.torrent", kTorrent);
    const std::u16string name = platform::Utf8ToUtf16(path);
    unsigned char buffer[16];
    std::memset(buffer, 0xAB, sizeof buffer);
    EXPECT_EQ(GetValueW(name.c_str(), 18, 0, buffer, sizeof buffer, 0), 0);
    EXPECT_EQ(GetValueW(name.c_str(), 2, 9, buffer, sizeof buffer, 0), 0);
    EXPECT_EQ(GetValueW(name.c_str(), 0, 0, buffer, 1, 0), -3);
    EXPECT_EQ(GetValue(path.c_str(), 0, 0, buffer, 0, 0), -3);
    EXPECT_EQ(GetValue(path.c_str(), 0, 0, buffer, -5, 0), -3);
    EXPECT_EQ(GetValueW(name.c_str(), 0, 0, nullptr, 100, 0), -3);
    for (unsigned char b : buffer) EXPECT_EQ(b, 0xAB);
}

TEST_F(ValueExports, TrimAfter4097FilesDropsTheFirstNames) {
    const std::string bytes = Dict({{"info", Dict({{"name", Str("n")}})}});
    std::vector<std::string> paths;
    for (int i = 0; i < 4097; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "f%04d.torrent", i);
        paths.push_back(Write(name, bytes));
        ASSERT_EQ(Wide(paths.back(), 0).Result, 11);
    }
    // Any request trims first: 3,072 entries stay, the 1,025 first names go.
    EXPECT_EQ(Wide((Dir.Path() / "none.torrent").string(), 0, 0, 1).Result, 0);
    EXPECT_EQ(Wide(paths[1024], 0, 0, 1).Result, 0);
    EXPECT_EQ(Wide(paths[0], 0, 0, 1).Result, 0);
    EXPECT_EQ(Wide(paths[1025], 0, 0, 1).Result, 11);
    EXPECT_EQ(Wide(paths[4096], 0, 0, 1).Result, 11);
}

}  // namespace
}  // namespace seedlens
