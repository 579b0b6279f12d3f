// What holds on Windows only: case-insensitive ordinal file-name keys, the
// active ANSI code page as the 8-bit interface, files held by others,
// loading the plug-in again and again, and one CryptoAPI provider.

#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <filesystem>
#include <fstream>

#include "platform/code_pages.h"
#include "platform/digest.h"
#include "platform/dynamic_library.h"
#include "platform/text_compare.h"
#include "plugin/content_plugin_api.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
using seedlens::host::GetValueFn;
using seedlens::host::GetValueWFn;

TEST(WindowsFileNames, OrdinalWithoutRegardToCase) {
    EXPECT_EQ(platform::CompareFileNames(u"a.torrent", u"A.TORRENT"), 0);
    EXPECT_NE(platform::CompareFileNames(u"Straße.torrent", u"Strasse.torrent"), 0);
    EXPECT_LT(platform::CompareFileNames(u"a", u"B"), 0);
    std::u16string one, two;
    EXPECT_EQ(platform::FileNameKey(u"abc.Torrent", one), platform::FileNameKey(u"ABC.torrent", two));
}

class WindowsExports : public testing::Test {
protected:
    WindowsExports() {
        static int copies = 0;
        const auto copy = Dir.Path() / ("Seedlens-w" + std::to_string(++copies) + ".wdx");
        std::filesystem::copy_file(SEEDLENS_WDX_PATH, copy);
        Library = std::make_unique<platform::DynamicLibrary>(copy.string());
        GetValue = reinterpret_cast<GetValueFn>(Library->Symbol("ContentGetValue"));
        GetValueW = reinterpret_cast<GetValueWFn>(Library->Symbol("ContentGetValueW"));
    }
    std::string NameW(const std::filesystem::path& File, std::int32_t* Result = nullptr) {
        const std::u16string path(File.u16string());
        char16_t buffer[256] = {};
        const std::int32_t result = GetValueW(path.c_str(), 0, 0, buffer, sizeof buffer, 0);
        if (Result != nullptr) *Result = result;
        return platform::Utf16ToUtf8(buffer);
    }
    TempDir Dir;
    std::unique_ptr<platform::DynamicLibrary> Library;
    GetValueFn GetValue = nullptr;
    GetValueWFn GetValueW = nullptr;
};

std::string Named(const std::string& Name) { return Dict({{"info", Dict({{"name", Str(Name)}})}}); }

TEST_F(WindowsExports, NamesDifferingInCaseShareOneEntry) {
    const auto lower = Dir.Write("x.torrent", Named("first"));
    EXPECT_EQ(NameW(lower), "first");
    Dir.Write("x.torrent", Named("second"));  // the same file, changed
    EXPECT_EQ(NameW(Dir.Path() / "X.TORRENT"), "first");  // answered from the entry of x.torrent
}

TEST_F(WindowsExports, StrasseAndStrasseAreTwoFiles) {
    const auto sharp = Dir.Path() / u"Straße.torrent";
    const auto double_s = Dir.Path() / u"Strasse.torrent";
    std::ofstream(sharp, std::ios::binary) << Named("sharp s");
    std::ofstream(double_s, std::ios::binary) << Named("double s");
    EXPECT_EQ(NameW(sharp), "sharp s");
    EXPECT_EQ(NameW(double_s), "double s");
}

TEST_F(WindowsExports, NamesOutsideTheAnsiCodePageThroughTheWideExport) {
    const auto path = Dir.Path() / u"日本語 ✓.torrent";
    std::ofstream(path, std::ios::binary) << Named("wide");
    EXPECT_EQ(NameW(path), "wide");
}

TEST_F(WindowsExports, NarrowExportSpeaksTheActiveCodePage) {
    // "café" in the active code page, as a host passes 8-bit names.
    const std::string narrowName = platform::Utf16ToNarrow((Dir.Path() / u"café.torrent").u16string());
    std::ofstream(Dir.Path() / u"café.torrent", std::ios::binary) << Named("caf\xc3\xa9 \xe2\x82\xac");
    char buffer[64] = {};
    ASSERT_EQ(GetValue(narrowName.c_str(), 0, 0, buffer, sizeof buffer, 0), 8);
    EXPECT_EQ(std::string(buffer), platform::Utf16ToNarrow(u"café €"));
}

TEST_F(WindowsExports, FileHeldByAnotherProgramIsTriedAgain) {
    const auto path = Dir.Write("held.torrent", Named("held"));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::int32_t result = -1;
    NameW(path, &result);
    EXPECT_EQ(result, 0);  // cannot be opened: no value, nothing cached
    CloseHandle(held);
    EXPECT_EQ(NameW(path, &result), "held");
    EXPECT_EQ(result, 11);
}

TEST(WindowsLibrary, LoadsAndUnloadsAgainAndAgain) {
    TempDir dir;
    const auto path = dir.Write("t.torrent", Named("again"));
    const std::u16string wide = path.u16string();
    for (int round = 0; round < 20; ++round) {
        platform::DynamicLibrary library(SEEDLENS_WDX_PATH);
        const auto getValueW = reinterpret_cast<GetValueWFn>(library.Symbol("ContentGetValueW"));
        char16_t buffer[64] = {};
        ASSERT_EQ(getValueW(wide.c_str(), 7, 0, buffer, sizeof buffer, 0), 11);
        EXPECT_EQ(std::u16string(buffer).size(), 40u);  // a digest
    }
    // Hashing made no key container: the user's default one still does not exist.
    HCRYPTPROV provider = 0;
    EXPECT_FALSE(CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_KEYSET));
    if (provider != 0) CryptReleaseContext(provider, 0);
}

TEST(WindowsDigest, OneProviderServesEveryDigest) {
    // Its library stays loaded between digests instead of being loaded
    // again for every file.
    const std::byte abc[] = {std::byte{'a'}, std::byte{'b'}, std::byte{'c'}};
    for (const auto algorithm : {platform::DigestAlgorithm::Sha1, platform::DigestAlgorithm::Sha256}) {
        {
            platform::Digest digest(algorithm);
            ASSERT_TRUE(digest.Update(abc));
            ASSERT_TRUE(digest.Finish().has_value());
        }
        EXPECT_NE(GetModuleHandleW(L"rsaenh.dll"), nullptr);
    }
}

}  // namespace
}  // namespace seedlens
