// The active ANSI code page as the legacy code page and as the 8-bit
// interface, for the East Asian code pages and UTF-8. Each case runs when
// Wine (or Windows) runs with that code page; under any other it is skipped.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "plugin/content_plugin_api.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/hex.h"
#include "tests/support/temp_dir.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;
using seedlens::host::GetValueFn;

struct Sample {
    UINT CodePage;
    std::string Bytes;            // in that code page
    std::u16string Text;          // what they say
    std::size_t FirstCharacter;  // its bytes
};

const Sample kSamples[] = {
    {932, Hex("93fa 967b 8cea"), u"日本語", 2},
    {936, Hex("d6d0 cec4"), u"中文", 2},
    {949, Hex("c7d1 b1b9 beee"), u"한국어", 2},
    {950, Hex("a4a4 a4e5"), u"中文", 2},
    {CP_UTF8, Hex("e697a5 e69cac e8aa9e"), u"日本語", 3},
};

// The run that sets SEEDLENS_EXPECT_ACP must get that code page: a locale
// that failed to take effect is a failure, not a skipped test.
const Sample* ActiveSample() {
    if (const char* expected = std::getenv("SEEDLENS_EXPECT_ACP")) {
        EXPECT_EQ(static_cast<UINT>(std::atoi(expected)), GetACP());
    }
    for (const Sample& sample : kSamples)
        if (sample.CodePage == GetACP()) return &sample;
    return nullptr;
}

TEST(ActiveCodePage, UndeclaredBytesAreReadInIt) {
    const Sample* sample = ActiveSample();
    if (sample == nullptr) GTEST_SKIP() << "active code page " << GetACP();
    EXPECT_EQ(platform::LegacyToUtf16(sample->Bytes), sample->Text);
    TTorrentFile doc;  // no "encoding": the legacy code page decides
    EXPECT_EQ(platform::Utf8ToUtf16(doc.DecodeString(sample->Bytes)), sample->Text);
}

TEST(ActiveCodePage, NarrowExportTakesAndGivesIt) {
    const Sample* sample = ActiveSample();
    if (sample == nullptr) GTEST_SKIP() << "active code page " << GetACP();
    TempDir dir;
    std::filesystem::copy_file(SEEDLENS_WDX_PATH, dir.Path() / "acp.wdx");
    platform::DynamicLibrary library((dir.Path() / "acp.wdx").string());
    const auto getValue = reinterpret_cast<GetValueFn>(library.Symbol("ContentGetValue"));

    const std::filesystem::path file = dir.Path() / (sample->Text + u".torrent");
    std::ofstream(file, std::ios::binary) << Dict({{"info", Dict({{"name", Str(sample->Bytes)}})}});
    const std::string narrowName = platform::Utf16ToNarrow(file.u16string());
    char buffer[256] = {};
    ASSERT_EQ(getValue(narrowName.c_str(), 0, 0, buffer, sizeof buffer, 0), 8);
    EXPECT_EQ(std::string(buffer), sample->Bytes);  // the name, read and written in the active code page
    // Cut to a buffer of four bytes: whole characters only.
    ASSERT_EQ(getValue(narrowName.c_str(), 0, 0, buffer, 4, 0), 8);
    EXPECT_EQ(std::string(buffer), sample->Bytes.substr(0, sample->FirstCharacter));
}

TEST(ActiveCodePage, Utf8CutsKeepWholeCharacters) {
    const Sample* sample = ActiveSample();
    if (sample == nullptr || sample->CodePage != CP_UTF8) GTEST_SKIP() << "active code page " << GetACP();
    TempDir dir;
    std::filesystem::copy_file(SEEDLENS_WDX_PATH, dir.Path() / "utf8.wdx");
    platform::DynamicLibrary library((dir.Path() / "utf8.wdx").string());
    const auto getValue = reinterpret_cast<GetValueFn>(library.Symbol("ContentGetValue"));
    const std::string text = Hex("61 c3a9 e697a5 f09f9880");  // "aé日😀"
    const std::string file = (dir.Path() / "cuts.torrent").string();
    std::ofstream(file, std::ios::binary) << Dict({{"info", Dict({{"name", Str(text)}})}});

    const struct {
        std::int32_t MaxLen;
        std::size_t Kept;  // bytes of the name before the terminating zero
    } rows[] = {{1, 0}, {2, 1}, {3, 1}, {4, 3}, {5, 3}, {6, 3}, {7, 6}, {8, 6}, {10, 6}, {11, 10}, {64, 10}};
    for (const auto& row : rows) {
        std::string buffer(64, '\x55');  // a zero is written, or the check fails
        ASSERT_EQ(getValue(file.c_str(), 0, 0, buffer.data(), row.MaxLen, 0), 8);
        EXPECT_EQ(std::string(buffer.c_str()), text.substr(0, row.Kept)) << "MaxLen " << row.MaxLen;
    }
}

}  // namespace
}  // namespace seedlens
