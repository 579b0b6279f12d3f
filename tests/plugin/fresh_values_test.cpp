// Values follow the file: a changed or deleted file is seen once its entry
// is looked at again, a second after it was last confirmed, and never
// before; a file that does not load is read once for all its columns;
// immediate requests never touch the file system.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "tests/support/bencode_writer.h"
#include "tests/support/counted_files.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::string Named(const std::string& Name) { return Dict({{"info", Dict({{"name", Str(Name)}})}}); }

constexpr TextWidth kWidths[] = {TextWidth::Narrow, TextWidth::Wide};

TEST(FreshValues, ChangesShowAfterASecondAndNeverBefore) {
    const std::string complete = Named("complete");
    const struct {
        const char* Case;
        std::string Before;
        std::function<void(const TempDir&, const fs::path&)> Change;
        const char* After;
        int Loads;  // a missing file is not remembered: tried at each request
    } rows[] = {
        {"rewritten", Named("old"), [](const TempDir& D, const fs::path&) { D.Write("t.torrent", Named("newer")); },
         "newer", 2},
        {"deleted", Named("old"), [](const TempDir&, const fs::path& P) { fs::remove(P); }, "", 3},
        {"truncated, then completed in place", complete.substr(0, complete.size() - 3),
         [&](const TempDir& D, const fs::path&) { D.Write("t.torrent", complete); }, "complete", 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        TempDir dir;
        CountedFiles files;
        const fs::path path = dir.Write("t.torrent", row.Before);
        const std::string before = files.NameOf(path.string(), TextWidth::Wide);
        row.Change(dir, path);
        files.PassSeconds(1.0);  // not more than a second yet: the entry holds
        for (const TextWidth width : kWidths) EXPECT_EQ(files.NameOf(path.string(), width), before);
        EXPECT_EQ(files.Looks, 0);
        files.PassSeconds(0.01);
        for (const TextWidth width : kWidths) EXPECT_EQ(files.NameOf(path.string(), width), row.After);
        EXPECT_EQ(files.Looks, 1);
        EXPECT_EQ(files.Loads, row.Loads);
    }
}

TEST(FreshValues, AFileThatDoesNotLoadIsReadOnceForAllItsColumns) {
    const std::string torrent = Named("n");
    const struct {
        const char* Case;
        std::string Bytes;
    } rows[] = {
        {"truncated", torrent.substr(0, torrent.size() / 2)},
        {"no torrent", "plain text"},
        {"empty", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        TempDir dir;
        CountedFiles files;
        const std::u16string name = platform::Utf8ToUtf16(dir.Write("broken.torrent", row.Bytes).string());
        for (int pass = 0; pass < 3; ++pass) {
            for (const TextWidth width : kWidths) {
                for (std::int32_t field = 0; field < 14; ++field) {
                    char16_t value[64];
                    EXPECT_EQ(RequestValue(files.Library, name, field, 0, value, sizeof value, 0, width), 0);
                }
            }
            files.PassSeconds(2);  // unchanged: looked at, not read again
        }
        EXPECT_EQ(files.Loads, 1);
        EXPECT_EQ(files.Looks, 2);
    }
}

TEST(FreshValues, WhatCannotBeOpenedIsNotRemembered) {
    TempDir dir;
    CountedFiles files;
    fs::create_directory(dir.Path() / "folder.torrent");
    for (const fs::path& path : {dir.Path() / "missing.torrent", dir.Path() / "folder.torrent"})
        for (const TextWidth width : kWidths) EXPECT_EQ(files.NameOf(path.string(), width), "");
    EXPECT_EQ(files.Loads, 4);
    EXPECT_EQ(files.Library.Cache().Count(), 0u);
}

TEST(FreshValues, ImmediateRequestsNeverTouchTheFileSystem) {
    TempDir dir;
    CountedFiles files;
    const fs::path cached = dir.Write("cached.torrent", Named("cached"));
    const fs::path broken = dir.Write("broken.torrent", "d4:info");
    const fs::path unseen = dir.Write("unseen.torrent", Named("unseen"));
    files.NameOf(cached.string(), TextWidth::Wide);
    files.NameOf(broken.string(), TextWidth::Wide);
    dir.Write("cached.torrent", Named("changed"));
    files.PassSeconds(60);
    for (const TextWidth width : kWidths) {
        EXPECT_EQ(files.NameOf(cached.string(), width, 1), "cached");  // as the entry is
        EXPECT_EQ(files.NameOf(broken.string(), width, 1), "");
        EXPECT_EQ(files.NameOf(unseen.string(), width, 1), "");
    }
    EXPECT_EQ(files.Loads, 2);
    EXPECT_EQ(files.Looks, 0);
}

}  // namespace
}  // namespace seedlens
