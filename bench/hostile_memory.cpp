// The host's memory after a folder of hostile torrents: 1,000 files whose
// name, comment, creating program and tracker are 64 KiB each, every field
// of each asked through the real plug-in as a file manager listing the
// folder asks. Prints the peak resident size before and after, and fails
// when it grew by more than 96 MiB.
//
//   seedlens_hostile_memory [PLUGIN] [FILES]

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "tests/support/bencode_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace seedlens::test;
using GetValueWFn = std::int32_t (*)(const char16_t*, std::int32_t, std::int32_t, void*, std::int32_t, std::int32_t);

constexpr std::int64_t kMiB = 1024 * 1024;
constexpr std::int64_t kMostGrowth = 96 * kMiB;
// Every field in every unit it has.
constexpr std::pair<int, int> kRequests[] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {3, 0}, {3, 1},
                                             {3, 2}, {4, 0}, {5, 0}, {5, 1}, {6, 0}, {7, 0}, {8, 0}, {9, 0},
                                             {10, 0}, {11, 0}, {12, 0}, {13, 0}};

std::int64_t StatusBytes(const char* Key) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(Key) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0) return std::stoll(line.substr(prefix.size())) * 1024;
    return 0;
}

std::string HostileTorrent(int Index) {
    const auto text = [&](char Fill) { return Str(std::to_string(Index) + std::string(64 * 1024, Fill)); };
    const std::string info = Dict({{"length", Int(1000 + Index)},
                                   {"name", text('n')},
                                   {"piece length", Int(16384)},
                                   {"pieces", Str(std::string(20, 'p'))}});
    return Dict({{"announce", Str("http://" + std::string(64 * 1024, 'a') + std::to_string(Index) + "/announce")},
                 {"comment", text('c')},
                 {"created by", text('m')},
                 {"info", info}});
}

}  // namespace

int main(int argc, char** argv) {
    const std::string plugin = argc > 1 ? argv[1] : SEEDLENS_WDX_PATH;
    const int files = argc > 2 ? std::atoi(argv[2]) : 1000;
    const fs::path folder = fs::temp_directory_path() / "seedlens-hostile-memory";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < files; ++i) {
        const std::string bytes = HostileTorrent(i);
        std::ofstream(folder / ("hostile-" + std::to_string(i) + ".torrent"), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    seedlens::platform::DynamicLibrary library(plugin);
    const auto getValueW = reinterpret_cast<GetValueWFn>(library.Symbol("ContentGetValueW"));
    if (getValueW == nullptr) return 2;
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const std::int64_t before = StatusBytes("VmHWM");
    alignas(8) char buffer[2048];
    for (int i = 0; i < files; ++i) {
        const std::u16string name =
            seedlens::platform::Utf8ToUtf16((folder / ("hostile-" + std::to_string(i) + ".torrent")).string());
        for (const auto& [field, unit] : kRequests) getValueW(name.c_str(), field, unit, buffer, sizeof buffer, 0);
    }
    const std::int64_t after = StatusBytes("VmHWM");
    fs::remove_all(folder);

    const std::int64_t growth = after - before;
    std::printf("%d hostile torrents: peak resident %.1f MiB before, %.1f MiB after, grew by %.1f MiB (at most %lld)\n",
                files, static_cast<double>(before) / kMiB, static_cast<double>(after) / kMiB,
                static_cast<double>(growth) / kMiB, static_cast<long long>(kMostGrowth / kMiB));
    return growth <= kMostGrowth ? 0 : 1;
}
