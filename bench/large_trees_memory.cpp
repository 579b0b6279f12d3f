// The host's peak memory and the time of one cold request on large and
// hostile torrents: for each file, a fresh process loads the real plug-in,
// asks a field of a small torrent, then the first field of the large one, and
// reports how far its peak resident size grew. Prints a table and fails when
// a file makes it grow by more than the file's size and 64 MiB.
//
//   seedlens_large_trees_memory [PLUGIN] [--only NAME]
//   seedlens_large_trees_memory --write FOLDER [--only NAME]   only writes the files
//                                                              (for bench/compare's cold command)

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "tests/support/generated_torrents.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace seedlens::test;
using GetValueWFn = std::int32_t (*)(const char16_t*, std::int32_t, std::int32_t, void*, std::int32_t, std::int32_t);

constexpr double kMiB = 1024.0 * 1024.0;
constexpr std::int64_t kSlack = 64 * 1024 * 1024;
constexpr const char* kMeasure = "--measure";  // the hidden argument of the child process

struct Shape {
    const char* Name;
    std::string (*Make)();
};

const Shape kShapes[] = {
    {"7.9M-empty-lists", [] { return ManyEmptyListsTorrent(7'900'000); }},
    {"1M-files", [] { return RealShapedTorrent(1'000'000, 500); }},
    {"300k-files", [] { return RealShapedTorrent(300'000, 500); }},
    {"100k-files", [] { return RealShapedTorrent(100'000, 500); }},
    {"1M-trackers", [] { return ManyTrackersTorrent(1'000'000); }},
    {"1M-info-integers", [] { return ManyInfoIntegersTorrent(1'000'000); }},
    {"2M-empty-files-entries", [] { return ManyEmptyFilesEntriesTorrent(2'000'000); }},
};

struct Status {
    std::int64_t PeakBytes = 0;  // VmHWM
    std::int64_t ResidentBytes = 0;  // VmRSS
};

// Both from one read of the file, so that they describe the same moment.
Status ReadStatus() {
    Status status;
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmHWM:", 0) == 0) status.PeakBytes = std::stoll(line.substr(6)) * 1024;
        if (line.rfind("VmRSS:", 0) == 0) status.ResidentBytes = std::stoll(line.substr(6)) * 1024;
    }
    return status;
}

// The child: prints "GROWTH_BYTES MILLISECONDS ANSWER".
int Measure(const std::string& Plugin, const std::string& Small, const std::string& Large) {
    seedlens::platform::DynamicLibrary library(Plugin);
    const auto getValueW = reinterpret_cast<GetValueWFn>(library.Symbol("ContentGetValueW"));
    if (getValueW == nullptr) return 2;
    alignas(8) char buffer[2048];
    const std::u16string small = seedlens::platform::Utf8ToUtf16(Small);
    const std::u16string large = seedlens::platform::Utf8ToUtf16(Large);
    getValueW(small.c_str(), 0, 0, buffer, sizeof buffer, 0);  // the plug-in at work, its cache started

    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const Status before = ReadStatus();
    // A kernel that ignores the reset would credit the baseline's peak to the large file.
    if (before.PeakBytes > before.ResidentBytes) {
        std::fprintf(stderr, "the peak resident size cannot be reset on this kernel\n");
        return 3;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::int32_t answer = getValueW(large.c_str(), 0, 0, buffer, sizeof buffer, 0);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const Status after = ReadStatus();
    std::printf("%lld %.3f %d\n", static_cast<long long>(after.PeakBytes - before.PeakBytes), ms, answer);
    return 0;
}

struct Result {
    std::int64_t GrowthBytes = 0;
    double Milliseconds = 0;
    int Answer = 0;
};

// Runs this program again with the hidden argument and reads its one line.
std::optional<Result> MeasureInFreshProcess(const std::string& Plugin, const fs::path& Small, const fs::path& Large) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::string self = "/proc/self/exe", measure = kMeasure, plugin = Plugin, small = Small.string(),
                large = Large.string();
    char* args[] = {self.data(), measure.data(), plugin.data(), small.data(), large.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char chunk[256];
    for (ssize_t n; spawned == 0 && (n = read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        output.append(chunk, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    Result result;
    long long growth = 0;
    if (std::sscanf(output.c_str(), "%lld %lf %d", &growth, &result.Milliseconds, &result.Answer) != 3)
        return std::nullopt;
    result.GrowthBytes = growth;
    return result;
}

std::string AnswerText(int Answer) {
    if (Answer > 0) return std::to_string(Answer) + " (a value)";
    if (Answer == 0) return "0 (not loaded)";
    return std::to_string(Answer) + " (empty)";
}

// Writes NAME.torrent into Folder; its size.
std::int64_t WriteShape(const Shape& One, const fs::path& Folder) {
    const std::string bytes = One.Make();
    std::ofstream(Folder / (std::string(One.Name) + ".torrent"), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<std::int64_t>(bytes.size());
}

// Writes the file, measures it and prints its row; false when it went over or failed.
bool MeasureShape(const Shape& One, const std::string& Plugin, const fs::path& Folder, const fs::path& Small) {
    const fs::path path = Folder / (std::string(One.Name) + ".torrent");
    const std::int64_t size = WriteShape(One, Folder);
    const std::int64_t allowed = size + kSlack;
    const std::optional<Result> result = MeasureInFreshProcess(Plugin, Small, path);
    fs::remove(path);
    if (!result) {
        std::printf("%-24s %8.1f %16s %12.1f   the measuring process failed\n", One.Name, size / 1e6, "-",
                    allowed / kMiB);
        return false;
    }
    std::printf("%-24s %8.1f %16.1f %12.1f %10.1f   %s\n", One.Name, size / 1e6, result->GrowthBytes / kMiB,
                allowed / kMiB, result->Milliseconds, AnswerText(result->Answer).c_str());
    std::fflush(stdout);
    return result->GrowthBytes <= allowed;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: seedlens_large_trees_memory [PLUGIN] [--only NAME]\n"
                 "       seedlens_large_trees_memory --write FOLDER [--only NAME]\nnames:");
    for (const Shape& one : kShapes) std::fprintf(stderr, " %s", one.Name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 4 && args[0] == kMeasure) return Measure(args[1], args[2], args[3]);

    std::string plugin, only, writeTo;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--only" && i + 1 < args.size())
            only = args[++i];
        else if (args[i] == "--write" && i + 1 < args.size())
            writeTo = args[++i];
        else if (args[i].rfind("-", 0) == 0 || !plugin.empty())
            return Usage();
        else
            plugin = args[i];
    }
    if (plugin.empty()) plugin = SEEDLENS_WDX_PATH;
    std::vector<const Shape*> chosen;
    for (const Shape& one : kShapes)
        if (only.empty() || only == one.Name) chosen.push_back(&one);
    if (chosen.empty()) return Usage();
    if (!writeTo.empty()) {
        fs::create_directories(writeTo);
        for (const Shape* one : chosen) WriteShape(*one, writeTo);
        return 0;
    }

    const fs::path folder = fs::temp_directory_path() / "seedlens-large-trees-memory";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path small = folder / "small.torrent";
    const std::string smallBytes = SmallTorrent(1);
    std::ofstream(small, std::ios::binary).write(smallBytes.data(), static_cast<std::streamsize>(smallBytes.size()));

    std::printf("%-24s %8s %16s %12s %10s   %s\n", "file", "size MB", "peak growth MiB", "allowed MiB", "cold ms",
                "answer");
    bool withinAll = true;
    for (const Shape* one : chosen) withinAll = MeasureShape(*one, plugin, folder, small) && withinAll;
    fs::remove_all(folder);
    return withinAll ? 0 : 1;
}
