// What the command finds on disk: where its plug-in is, which torrents a
// folder holds, and why a file did not load.

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(PluginLocation, BesideTheExecutableThenTheInstalledLayout) {
    const auto places = DefaultPluginPlaces("/opt/seedlens/bin");
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(fs::u8path(places[0]), fs::path("/opt/seedlens/bin/Seedlens.wdx"));
    EXPECT_EQ(fs::u8path(places[1]), fs::path("/opt/seedlens/lib/seedlens/Seedlens.wdx"));
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
