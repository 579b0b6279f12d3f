// Through the Windows build: a torrent rewritten with the same size and a
// last-write time one tick later is seen, in a plain and in a long path,
// and a deleted one shows nothing.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/long_paths_windows.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/counted_files.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
namespace fs = std::filesystem;

std::string Named(const std::string& Name) { return Dict({{"info", Dict({{"name", Str(Name)}})}}); }

// Sets the file's last-write time to Ticks (100 ns) past a fixed moment.
void SetLastWrite(const fs::path& Path, std::uint64_t Ticks) {
    const std::u16string name = platform::OpenableName(Path.u16string());
    HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(name.c_str()), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::uint64_t time = 133'000'000'000'000'000ULL + Ticks;
    const FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
}

TEST(WindowsFreshValues, ReplacedAndDeleted) {
    const struct {
        const char* Case;
        bool Long;
        std::function<void(const fs::path&)> Change;
        const char* After;
    } rows[] = {
        {"rewritten, one tick later", false,
         [](const fs::path& P) {
             std::ofstream(P, std::ios::binary) << Named("bbbb");
             SetLastWrite(P, 1);
         },
         "bbbb"},
        {"rewritten in a long path", true,
         [](const fs::path& P) {
             std::ofstream(P, std::ios::binary) << Named("bbbb");
             SetLastWrite(P, 1);
         },
         "bbbb"},
        {"deleted", false, [](const fs::path& P) { fs::remove(P); }, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        TempDir dir;
        fs::path folder = dir.Path();
        while (row.Long && folder.native().size() < 300) folder /= std::wstring(40, L'd');
        fs::create_directories(folder);
        const fs::path path = folder / "t.torrent";
        std::ofstream(path, std::ios::binary) << Named("aaaa");
        SetLastWrite(path, 0);
        CountedFiles files;
        const std::string name = platform::Utf16ToUtf8(path.u16string());
        EXPECT_EQ(files.NameOf(name, TextWidth::Wide), "aaaa");
        row.Change(path);
        files.PassSeconds(1.0);
        EXPECT_EQ(files.NameOf(name, TextWidth::Wide), "aaaa");
        files.PassSeconds(0.01);
        EXPECT_EQ(files.NameOf(name, TextWidth::Wide), row.After);
        EXPECT_EQ(files.NameOf(name, TextWidth::Narrow), row.After);
        EXPECT_EQ(files.Looks, 1);
    }
}

}  // namespace
}  // namespace seedlens
