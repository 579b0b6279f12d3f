// A torrent replaced by another of the same size within the same second of
// modification time is still seen, by the nanoseconds or by the inode.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "tests/support/bencode_writer.h"
#include "tests/support/counted_files.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::string Named(const std::string& Name) { return Dict({{"info", Dict({{"name", Str(Name)}})}}); }

TEST(PosixFreshValues, ReplacementsOfTheSameSizeAndSecond) {
    const fs::file_time_type second = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const struct {
        const char* Case;
        std::function<void(const TempDir&, const fs::path&)> Replace;
    } rows[] = {
        {"rewritten in place, other nanoseconds",
         [&](const TempDir& D, const fs::path& P) {
             D.Write("t.torrent", Named("bbbb"));
             fs::last_write_time(P, second + std::chrono::nanoseconds(1));
         }},
        {"renamed over it, same nanosecond, other inode",
         [&](const TempDir& D, const fs::path& P) {
             const fs::path other = D.Write("other.torrent", Named("bbbb"));
             fs::last_write_time(other, second);
             fs::rename(other, P);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        TempDir dir;
        CountedFiles files;
        const fs::path path = dir.Write("t.torrent", Named("aaaa"));
        fs::last_write_time(path, second);
        EXPECT_EQ(files.NameOf(path.string(), TextWidth::Wide), "aaaa");
        row.Replace(dir, path);
        ASSERT_EQ(fs::file_size(path), Named("aaaa").size());
        files.PassSeconds(1.0);
        EXPECT_EQ(files.NameOf(path.string(), TextWidth::Narrow), "aaaa");
        files.PassSeconds(0.01);
        EXPECT_EQ(files.NameOf(path.string(), TextWidth::Narrow), "bbbb");
        EXPECT_EQ(files.NameOf(path.string(), TextWidth::Wide), "bbbb");
    }
}

}  // namespace
}  // namespace seedlens
