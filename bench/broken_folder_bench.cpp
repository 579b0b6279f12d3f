// A folder of torrents that do not load, as a host shows it: 100 truncated
// 20 MB torrents (half-written downloads), every field asked for each file,
// in a first pass over a new cache and then in a repaint. Prints the time
// of each pass and the bytes the process read meanwhile (Linux counts them
// in /proc/self/io; elsewhere they show as -1).

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "plugin/value_request.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 100;
constexpr std::uintmax_t kFileBytes = 20 * 1024 * 1024;
constexpr int kFields = 14;
constexpr int kRounds = 3;

// Bytes read by this process so far, -1 where the system does not say.
std::int64_t BytesRead() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return -1;
}

// Torrents whose pieces are cut off halfway. The files are sparse: the
// missing bytes read as zeros and take no disk space.
std::vector<std::u16string> MakeFolder(const fs::path& Folder) {
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    std::vector<std::u16string> names;
    for (int i = 0; i < kFiles; ++i) {
        const fs::path path = Folder / ("broken-" + std::to_string(i) + ".torrent");
        std::ofstream(path, std::ios::binary) << "d8:announce30:udp://tracker.example.org:80/4:infod4:name3:abc"
                                                 "12:piece lengthi262144e6:pieces"
                                              << 2 * kFileBytes << ':';
        fs::resize_file(path, kFileBytes);
        names.push_back(seedlens::platform::Utf8ToUtf16(path.string()));
    }
    return names;
}

void Pass(const char* Label, seedlens::PluginLibrary& Library, const std::vector<std::u16string>& Names) {
    char16_t value[1024];
    int answered = 0;
    const std::int64_t readBefore = BytesRead();
    const auto start = std::chrono::steady_clock::now();
    for (const std::u16string& name : Names)
        for (int field = 0; field < kFields; ++field)
            answered += seedlens::RequestValue(Library, name, field, 0, value, sizeof value, 0,
                                               seedlens::TextWidth::Wide) != 0;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    const std::int64_t readAfter = BytesRead();
    std::printf("%-8s %9.1f ms %10.1f MB read  (%d of %d requests answered a value)\n", Label, took.count(),
                readBefore < 0 ? -1.0 : static_cast<double>(readAfter - readBefore) / (1024 * 1024), answered,
                kFiles * kFields);
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / "seedlens-broken-folder";
    const std::vector<std::u16string> names = MakeFolder(folder);
    std::printf("%d truncated torrents of %ju MB, %d fields each\n", kFiles, kFileBytes >> 20, kFields);
    for (int round = 0; round < kRounds; ++round) {
        auto library = std::make_unique<seedlens::PluginLibrary>();  // an empty cache
        Pass("first", *library, names);
        Pass("repaint", *library, names);
    }
    fs::remove_all(folder);
}
