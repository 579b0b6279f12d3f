// What the command finds on disk: where its plug-in is, which torrents a
// folder holds, and why a file did not load.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/failure_reason.h"
#include "tools/plugin_location.h"
#include "tools/torrent_paths.h"
#include "torrent/torrent_file.h"

namespace seedlens::tool {
namespace {

namespace fs = std::filesystem;
using platform::PathKind;

std::string Utf8(const fs::path& Path) {
    const auto text = Path.u8string();
    return std::string(text.begin(), text.end());
}

TEST(FailureReason, EachKindHasItsWords) {
    const struct {
        platform::PathLook Look;
        const char* Reason;
    } cases[] = {
        {{PathKind::Missing, 0, ""}, "no such file"},
        {{PathKind::AccessDenied, 0, ""}, "permission denied"},
        {{PathKind::Folder, 0, ""}, "a folder"},
        {{PathKind::NotRegular, 0, ""}, "not a regular file"},
        {{PathKind::Unreadable, 0, "Input/output error"}, "Input/output error"},
        {{PathKind::Regular, 0, ""}, "empty"},
        {{PathKind::Regular, 1, ""}, "not a torrent"},
        {{PathKind::Regular, TTorrentFile::MaxFileBytes, ""}, "not a torrent"},
        {{PathKind::Regular, TTorrentFile::MaxFileBytes + 1, ""}, "larger than 256 MiB, the most the plug-in reads"},
    };
    for (const auto& c : cases) EXPECT_EQ(FailureReason(c.Look), c.Reason);
}

TEST(FailureReason, FoundOnDisk) {
    test::TempDir dir;
    fs::create_directory(dir.Path() / "folder.torrent");
    const struct {
        fs::path Path;
        const char* Reason;
    } cases[] = {
        {dir.Path() / "missing.torrent", "no such file"},
        {dir.Path() / "missing" / "x.torrent", "no such file"},
        {dir.Path() / "folder.torrent", "a folder"},
        {dir.Write("empty.torrent", ""), "empty"},
        {dir.Write("text.torrent", "hello"), "not a torrent"},
    };
    for (const auto& c : cases) EXPECT_EQ(FailureReason(Utf8(c.Path)), c.Reason) << c.Path;
}

TEST(PluginLocation, EachConventionLooksWhereItsHostsDo) {
    using platform::ModuleConvention;
    const fs::path bin = "/opt/seedlens/bin";
    const struct {
        ModuleConvention Convention;
        std::vector<std::pair<fs::path, bool>> Places;  // path, only if 64-bit
    } cases[] = {
        {ModuleConvention::Posix, {{bin / "Seedlens.wdx", false}, {"/opt/seedlens/lib/seedlens/Seedlens.wdx", false}}},
        {ModuleConvention::Windows64, {{bin / "Seedlens.wdx64", false}, {bin / "Seedlens.wdx", true}}},
        {ModuleConvention::Windows32, {{bin / "Seedlens.wdx", false}}},
    };
    for (const auto& c : cases) {
        const auto places = DefaultPluginPlaces(Utf8(bin), c.Convention);
        ASSERT_EQ(places.size(), c.Places.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            EXPECT_EQ(fs::u8path(places[i].Path), c.Places[i].first);
            EXPECT_EQ(places[i].Only64Bit, c.Places[i].second) << places[i].Path;
        }
    }
}

// A DOS header whose last field says where the PE header starts.
std::string DosHeader(std::uint32_t PeOffset) {
    std::string bytes(64, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) bytes[60 + i] = static_cast<char>(PeOffset >> (8 * i));
    return bytes;
}

std::string ModuleHeader(std::uint16_t Machine, std::string_view Signature = std::string_view("PE\0\0", 4)) {
    return DosHeader(64) + std::string(Signature) + static_cast<char>(Machine) + static_cast<char>(Machine >> 8);
}

TEST(PluginLocation, APlainNameCountsFor64BitHostsOnlyWhenItIs64Bit) {
    const struct {
        const char* Case;
        std::string Module;
        bool Found;
    } cases[] = {
        {"x64", ModuleHeader(0x8664), true},
        {"i386", ModuleHeader(0x014c), false},
        {"ARM64", ModuleHeader(0xaa64), false},
        {"not a PE signature", ModuleHeader(0x8664, std::string_view("NE\0\0", 4)), false},
        {"PE header past the end", DosHeader(64), false},
        {"PE header near 4 GiB", DosHeader(0xfffffff0), false},
        {"no MZ", "ELF" + ModuleHeader(0x8664).substr(3), false},
        {"empty", "", false},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string module = Utf8(dir.Write("Seedlens.wdx", c.Module));
        const std::vector<PluginPlace> places = {{Utf8(dir.Path() / "Seedlens.wdx64")}, {module, true}};
        EXPECT_EQ(FirstUsable(places), c.Found ? std::optional(module) : std::nullopt) << c.Case;
    }
}

TEST(PluginLocation, NotFoundNamesEveryPlace) {
    const struct {
        std::vector<PluginPlace> Places;
        const char* Message;
    } cases[] = {
        {{{"a/Seedlens.wdx"}, {"lib/Seedlens.wdx"}},
         "no plug-in found: neither a/Seedlens.wdx nor lib/Seedlens.wdx exists (name one with --plugin)"},
        {{{"C:\\S\\Seedlens.wdx64"}, {"C:\\S\\Seedlens.wdx", true}},
         "no plug-in found: neither C:\\S\\Seedlens.wdx64 nor a 64-bit C:\\S\\Seedlens.wdx exists (name one with --plugin)"},
        {{{"C:\\S\\Seedlens.wdx"}}, "no plug-in found: C:\\S\\Seedlens.wdx does not exist (name one with --plugin)"},
    };
    for (const auto& c : cases) EXPECT_EQ(NotFoundMessage(c.Places), c.Message);
}

TEST(PluginLocation, BareNamesAreInTheCurrentFolder) {
    const struct {
        const char* Given;
        fs::path Loaded;
    } cases[] = {
        {"Seedlens.wdx", fs::path(".") / "Seedlens.wdx"},
        {"./Seedlens.wdx", "./Seedlens.wdx"},
        {"lib/Seedlens.wdx", "lib/Seedlens.wdx"},
        {"/usr/lib/seedlens/Seedlens.wdx", "/usr/lib/seedlens/Seedlens.wdx"},
    };
    for (const auto& c : cases) EXPECT_EQ(fs::u8path(AsLoadablePath(c.Given)), c.Loaded) << c.Given;
}

TEST(TorrentPaths, SubfoldersNeedRecursiveAndAHintSaysSo) {
    test::TempDir dir;
    fs::create_directories(dir.Path() / "b" / "deeper");
    fs::create_directories(dir.Path() / "a");
    dir.Write("b/deeper/2.torrent", "x");
    dir.Write("b/1.TORRENT", "x");
    dir.Write("a/3.torrent", "x");
    dir.Write("a/notes.txt", "x");
    const std::string top = Utf8(dir.Path());

    const PathList flat = CollectTorrentPaths({top}, false);
    EXPECT_TRUE(flat.Files.empty());
    EXPECT_TRUE(flat.Problems.empty());
    ASSERT_EQ(flat.Hints.size(), 1u);
    EXPECT_NE(flat.Hints[0].find("--recursive"), std::string::npos);

    const PathList deep = CollectTorrentPaths({top}, true);
    EXPECT_TRUE(deep.Hints.empty());
    EXPECT_TRUE(deep.Problems.empty());
    const std::vector<std::string> expected = {Utf8(dir.Path() / "a" / "3.torrent"),
                                               Utf8(dir.Path() / "b" / "1.TORRENT"),
                                               Utf8(dir.Path() / "b" / "deeper" / "2.torrent")};
    EXPECT_EQ(deep.Files, expected);

    // A folder with a torrent of its own needs no hint; a file is passed on as named.
    const PathList own = CollectTorrentPaths({Utf8(dir.Path() / "b"), "missing.torrent"}, false);
    EXPECT_EQ(own.Files, (std::vector<std::string>{Utf8(dir.Path() / "b" / "1.TORRENT"), "missing.torrent"}));
    EXPECT_TRUE(own.Hints.empty());
}

}  // namespace
}  // namespace seedlens::tool
