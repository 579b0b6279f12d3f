// The active ANSI code page as the legacy code page and as the 8-bit
// interface, for the East Asian code pages. Each case runs when Wine (or
// Windows) runs with that code page; under any other it is skipped.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/hex.h"
#include "tests/support/temp_dir.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using namespace test;
using GetValueFn = std::int32_t (*)(const char*, std::int32_t, std::int32_t, void*, std::int32_t, std::int32_t);

struct Sample {
    UINT CodePage;
    std::string Bytes;    // in that code page
    std::u16string Text;  // what they say
};

const Sample kSamples[] = {
    {932, Hex("93fa 967b 8cea"), u"日本語"},
    {936, Hex("d6d0 cec4"), u"中文"},
    {949, Hex("c7d1 b1b9 beee"), u"한국어"},
    {950, Hex("a4a4 a4e5"), u"中文"},
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
    // Cut to a buffer of four bytes: whole double-byte characters only.
    ASSERT_EQ(getValue(narrowName.c_str(), 0, 0, buffer, 4, 0), 8);
    EXPECT_EQ(std::string(buffer), sample->Bytes.substr(0, 2));
}

}  // namespace
}  // namespace seedlens
