// Names of MAX_PATH characters or more are opened through their "\\?\" form.
// Wine opens plain names of any length, so it cannot show the limit: the
// mapping's table carries the proof, and the deep torrent below shows that
// such a name goes the whole way through.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "platform/long_paths_windows.h"
#include "plugin/content_plugin_api.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
using seedlens::host::GetValueWFn;

// Head followed by a file name that makes Length characters in all.
std::u16string Padded(const std::u16string& Head, std::size_t Length) {
    return Head + std::u16string(Length - Head.size() - 8, u'n') + u".torrent";
}

TEST(LongPaths, OpenableNames) {
    const std::u16string at259 = Padded(u"C:\\d\\", 259);
    const std::u16string at260 = Padded(u"C:\\d\\", 260);
    const std::u16string tail = Padded(u"", 280);
    const struct {
        std::u16string Given;
        std::u16string Opened;
    } rows[] = {
        {u"C:\\d\\a.torrent", u"C:\\d\\a.torrent"},
        {u"C:/d/../e/a.torrent", u"C:/d/../e/a.torrent"},  // short: as given, Windows reads it so
        {at259, at259},
        {at260, u"\\\\?\\" + at260},
        {u"C:/d/" + tail, u"\\\\?\\C:\\d\\" + tail},
        {u"C:\\d\\.\\x\\..\\" + tail, u"\\\\?\\C:\\d\\" + tail},
        {u"\\\\server\\share\\d\\" + tail, u"\\\\?\\UNC\\server\\share\\d\\" + tail},
        {u"//server/share/d/../e/" + tail, u"\\\\?\\UNC\\server\\share\\e\\" + tail},
        {u"\\\\?\\C:\\d\\..\\" + tail, u"\\\\?\\C:\\d\\..\\" + tail},  // taken literally, as Windows does
        {u"\\\\.\\C:\\d\\" + tail, u"\\\\.\\C:\\d\\" + tail},
        {std::u16string(u"C:\\d\\a.torrent\0", 15) + tail, u"C:\\d\\a.torrent"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(platform::Utf16ToUtf8(platform::OpenableName(row.Given)), platform::Utf16ToUtf8(row.Opened))
            << platform::Utf16ToUtf8(row.Given);
}

TEST(LongPaths, TorrentInADeepFolderShowsItsFields) {
    TempDir dir;
    std::filesystem::path folder = dir.Path();
    for (int level = 0; folder.native().size() < 300; ++level) folder /= std::string(40, 'd') + std::to_string(level);
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "deep.torrent";
    std::ofstream(file, std::ios::binary)
        << Dict({{"info", Dict({{"name", Str("deep")}, {"length", Int(5)}, {"piece length", Int(16384)}})}});
    ASSERT_GT(file.native().size(), 300u);

    platform::DynamicLibrary library(SEEDLENS_WDX_PATH);
    const auto getValueW = reinterpret_cast<GetValueWFn>(library.Symbol("ContentGetValueW"));
    const std::u16string name = file.u16string();
    char16_t text[64] = {};
    ASSERT_EQ(getValueW(name.c_str(), 0, 0, text, sizeof text, 0), 11);
    EXPECT_EQ(std::u16string(text), u"deep");
    std::int64_t size = 0;
    ASSERT_EQ(getValueW(name.c_str(), 2, 0, &size, sizeof size, 0), 2);
    EXPECT_EQ(size, 5);
}

}  // namespace
}  // namespace seedlens
