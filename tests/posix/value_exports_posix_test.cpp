// Linux file systems tell a.torrent from A.torrent, and name files with
// bytes that need not be UTF-8: the exports and the cache keep all of those
// names apart.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "platform/file_names.h"
#include "plugin/content_plugin_api.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
using seedlens::host::GetValueFn;
using seedlens::host::GetValueWFn;

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

enum class Export { Narrow, Wide };

// Each case loads every name through one export, then asks the other with
// the immediate flag once the files are gone: only the cache can answer, so
// each name must have its own entry, found under either form of the name.
class PosixByteNames : public testing::TestWithParam<Export> {
protected:
    PosixByteNames() {
        static int copies = 0;
        const auto copy = Dir.Path() / ("bytes-" + std::to_string(++copies) + ".wdx");
        std::filesystem::copy_file(SEEDLENS_WDX_PATH, copy);
        Library = std::make_unique<platform::DynamicLibrary>(copy.string());
        GetValue = reinterpret_cast<GetValueFn>(Library->Symbol("ContentGetValue"));
        GetValueW = reinterpret_cast<GetValueWFn>(Library->Symbol("ContentGetValueW"));
    }

    // The torrent's name as the export answers it, "" when there is none.
    std::string NameOf(const std::string& Path, Export Via, std::int32_t Flags) const {
        char16_t buffer[256] = {};
        if (Via == Export::Wide) {
            const std::u16string name = platform::FileNameFromNarrow(Path);
            if (GetValueW(name.c_str(), 0, 0, buffer, sizeof buffer, Flags) != 11) return "";
            return platform::Utf16ToUtf8(buffer);
        }
        char* narrow = reinterpret_cast<char*>(buffer);
        if (GetValue(Path.c_str(), 0, 0, narrow, sizeof buffer, Flags) != 8) return "";
        return narrow;
    }

    test::TempDir Dir;
    std::unique_ptr<platform::DynamicLibrary> Library;
    GetValueFn GetValue = nullptr;
    GetValueWFn GetValueW = nullptr;
};

// File names: Latin-1 and Shift_JIS, names that differ in one byte that is
// no UTF-8 and the name those bytes would become if replaced, bytes that
// would be a surrogate, well-formed UTF-8, and random bytes.
std::vector<std::string> ByteNames() {
    std::vector<std::string> names = {"caf\xE9", "caf\xE8", "caf\xEF\xBF\xBD", "\x83\x65\x83\x58\x83\x67",
                                      "\xED\xB0\x80", "caf\xC3\xA9", "\xFF", "\xC0\xAF"};
    std::set<std::string> seen(names.begin(), names.end());
    std::uint32_t state = 88172645u;
    while (names.size() < 40) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        std::string name;
        for (std::uint32_t i = 0, length = 1 + state % 10; i < length; ++i) {
            state = state * 1664525u + 1013904223u;
            const auto byte = static_cast<char>(1 + (state >> 24) % 255);
            if (byte != '/') name += byte;
        }
        if (!name.empty() && name != "." && name != ".." && seen.insert(name).second) names.push_back(name);
    }
    return names;
}

TEST_P(PosixByteNames, EachNameReachesItsOwnFile) {
    const Export loadVia = GetParam();
    const Export otherExport = loadVia == Export::Wide ? Export::Narrow : Export::Wide;
    // The same files in a plain folder and in one whose own name is no UTF-8.
    const std::vector<std::string> names = ByteNames();
    std::vector<std::string> paths;
    for (const auto& folder : {Dir.Path() / "plain", Dir.Path() / "folder-\xFE\xED"}) {
        std::filesystem::create_directory(folder);
        for (std::size_t i = 0; i < names.size(); ++i) {
            paths.push_back((folder / names[i]).string());
            const std::string torrent = test::Dict({{"info", test::Dict({{"name", test::Str("file " + std::to_string(i))}})}});
            std::ofstream(paths.back(), std::ios::binary) << torrent;
        }
    }
    for (std::size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(NameOf(paths[i], loadVia, 0), "file " + std::to_string(i % names.size())) << "path " << i;
    std::filesystem::remove_all(Dir.Path() / "plain");
    std::filesystem::remove_all(Dir.Path() / "folder-\xFE\xED");
    for (std::size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(NameOf(paths[i], otherExport, 1), "file " + std::to_string(i % names.size())) << "path " << i;
}

INSTANTIATE_TEST_SUITE_P(LoadedThrough, PosixByteNames, testing::Values(Export::Narrow, Export::Wide),
                         [](const auto& Info) { return std::string(Info.param == Export::Wide ? "Wide" : "Narrow"); });

}  // namespace
}  // namespace seedlens
