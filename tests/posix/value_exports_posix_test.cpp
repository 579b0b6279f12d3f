// Linux file systems tell a.torrent from A.torrent: so does the cache.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
using GetValueWFn = std::int32_t (*)(const char16_t*, std::int32_t, std::int32_t, void*, std::int32_t, std::int32_t);

TEST(PosixValueExports, NamesDifferingInCaseAreDifferentFiles) {
    TempDir dir;
    std::filesystem::copy_file(SEEDLENS_WDX_PATH, dir.Path() / "case.wdx");
    platform::DynamicLibrary library((dir.Path() / "case.wdx").string());
    const auto getValueW = reinterpret_cast<GetValueWFn>(library.Symbol("ContentGetValueW"));
    const auto nameOf = [&](const std::string& File) {
        const std::u16string path = platform::Utf8ToUtf16(File);
        char16_t buffer[64] = {};
        getValueW(path.c_str(), 0, 0, buffer, sizeof buffer, 0);
        return platform::Utf16ToUtf8(buffer);
    };
    const auto lower = dir.Write("x.torrent", Dict({{"info", Dict({{"name", Str("lower")}})}}));
    const auto upper = dir.Write("X.torrent", Dict({{"info", Dict({{"name", Str("upper")}})}}));
    EXPECT_EQ(nameOf(lower.string()), "lower");
    EXPECT_EQ(nameOf(upper.string()), "upper");
}

}  // namespace
}  // namespace seedlens
