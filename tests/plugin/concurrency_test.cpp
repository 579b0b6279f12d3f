// Eight host threads asking both value exports for every field of 5,000
// torrents, in orders that force several trims, with and without the
// immediate-only flag, plus files that fail to load. Every answer must equal
// the single-threaded answer for that file (or be 0 for an immediate miss).
// Then a torrent replaced again and again while other threads answer from it.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "plugin/content_plugin_api.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/counted_files.h"
#include "tests/support/generated_torrents.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

namespace fs = std::filesystem;

using seedlens::host::GetValueFn;
using seedlens::host::GetValueWFn;

// 5,000 forces several trims; SEEDLENS_CONCURRENCY_TORRENTS asks for fewer
// where files are slow to make (under Wine).
const int kTorrents = [] {
    const char* count = std::getenv("SEEDLENS_CONCURRENCY_TORRENTS");
    return count != nullptr ? std::max(1, std::atoi(count)) : 5000;
}();
constexpr int kBroken = 50;
constexpr int kThreads = 8;
// Every field in every unit it has.
constexpr std::pair<int, int> kRequests[] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {3, 0}, {3, 1},
                                             {3, 2}, {4, 0}, {5, 0}, {5, 1}, {6, 0}, {7, 0}, {8, 0}, {9, 0},
                                             {10, 0}, {11, 0}, {12, 0}, {13, 0}};
constexpr int kRequestCount = static_cast<int>(std::size(kRequests));

struct Answer {
    std::int32_t Result = 0;
    std::string Bytes;  // what was written, up to the terminator for texts
    bool operator==(const Answer&) const = default;
};

struct Module {
    explicit Module(const fs::path& Copy)
        : Library(Copy.string()),
          GetValue(reinterpret_cast<GetValueFn>(Library.Symbol("ContentGetValue"))),
          GetValueW(reinterpret_cast<GetValueWFn>(Library.Symbol("ContentGetValueW"))) {}

    Answer Ask(const std::string& Narrow, const std::u16string& Wide, int Request, bool UseWide, int Flags) const {
        const auto [field, unit] = kRequests[Request];
        char buffer[1024];
        std::memset(buffer, 0, sizeof buffer);
        Answer a;
        if (UseWide) {
            a.Result = GetValueW(Wide.c_str(), field, unit, buffer, sizeof buffer, Flags);
            if (a.Result == 11) a.Bytes = platform::Utf16ToUtf8(reinterpret_cast<const char16_t*>(buffer));
        } else {
            a.Result = GetValue(Narrow.c_str(), field, unit, buffer, sizeof buffer, Flags);
            if (a.Result == 8) a.Bytes = buffer;
        }
        if (a.Result != 8 && a.Result != 11) a.Bytes.assign(buffer, 8);
        return a;
    }

    platform::DynamicLibrary Library;
    GetValueFn GetValue;
    GetValueWFn GetValueW;
};

TEST(Concurrency, EightThreadsAgreeWithOne) {
    test::TempDir dir;
    std::vector<std::string> narrow;
    std::vector<std::u16string> wide;
    for (int i = 0; i < kTorrents + kBroken; ++i) {
        const std::string name = "t" + std::to_string(i) + ".torrent";
        const std::string bytes = i < kTorrents ? test::SmallTorrent(static_cast<std::size_t>(i)) : "d4:info";
        narrow.push_back(dir.Write(name, bytes).string());
        wide.push_back(platform::Utf8ToUtf16(narrow.back()));
    }
    fs::copy_file(SEEDLENS_WDX_PATH, dir.Path() / "reference.wdx");
    fs::copy_file(SEEDLENS_WDX_PATH, dir.Path() / "shared.wdx");

    // Single-threaded answers, both exports.
    std::vector<std::vector<Answer>> expected(narrow.size(), std::vector<Answer>(2 * kRequestCount));
    {
        const Module reference(dir.Path() / "reference.wdx");
        for (std::size_t f = 0; f < narrow.size(); ++f)
            for (int r = 0; r < kRequestCount; ++r)
                for (int w = 0; w < 2; ++w) expected[f][2 * r + w] = reference.Ask(narrow[f], wide[f], r, w == 1, 0);
    }

    const Module shared(dir.Path() / "shared.wdx");
    std::atomic<int> mismatches{0};
    std::atomic<long> requests{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            // Each thread walks the files from its own starting point with its
            // own stride, so the cache fills past 4,096 and trims repeatedly.
            const std::size_t count = narrow.size();
            const std::size_t stride = 1 + 2 * static_cast<std::size_t>(t);
            for (std::size_t step = 0; step < count; ++step) {
                const std::size_t f = (static_cast<std::size_t>(t) * 631 + step * stride) % count;
                for (int r = 0; r < kRequestCount; ++r) {
                    const bool useWide = (step + static_cast<std::size_t>(r)) % 2 == 0;
                    const int flags = (step + static_cast<std::size_t>(r) + static_cast<std::size_t>(t)) % 5 == 0 ? 1 : 0;
                    const Answer got = shared.Ask(narrow[f], wide[f], r, useWide, flags);
                    const Answer& want = expected[f][2 * r + (useWide ? 1 : 0)];
                    const bool immediateMiss = flags == 1 && got.Result == 0;
                    if (!(got == want) && !immediateMiss) ++mismatches;
                    ++requests;
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(requests.load(), static_cast<long>(kThreads) * (kTorrents + kBroken) * kRequestCount);
}

// Every request comes a second and more after the last: each one without
// the immediate flag looks at the file, and may drop the entry whose record
// another thread is answering from. Each answer is one version, whole, or
// none (an immediate miss; on Windows, a file caught while it is replaced
// cannot be opened), and a last rewrite shows.
TEST(Concurrency, ReplacedWhileAnswered) {
    test::TempDir dir;
    // Of different sizes, so that every system tells them apart.
    const std::string versions[] = {"first", "second version"};
    const auto torrent = [&](int V) { return test::Dict({{"info", test::Dict({{"name", test::Str(versions[V])}})}}); };
    const std::string path = dir.Write("t.torrent", torrent(0)).string();
    test::CountedFiles files;
    std::atomic<bool> replacing{true};
    std::atomic<int> wrong{0};
    std::thread replacer([&] {
        for (int i = 1; i <= 300; ++i) {
            const fs::path next = dir.Write("next.torrent", torrent(i % 2));
            std::error_code failed;  // Windows refuses while a reader has the file open
            fs::rename(next, path, failed);
        }
        replacing = false;
    });
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&, t] {
            for (int i = 0; replacing; ++i) {
                files.PassSeconds(1.5);
                const int flags = (i + t) % 3 == 0 ? 1 : 0;
                const std::string name = files.NameOf(path, (i + t) % 2 == 0 ? TextWidth::Wide : TextWidth::Narrow, flags);
                if (name != versions[0] && name != versions[1] && !name.empty()) ++wrong;
            }
        });
    }
    replacer.join();
    for (auto& reader : readers) reader.join();
    EXPECT_EQ(wrong.load(), 0);
    dir.Write("t.torrent", test::Dict({{"info", test::Dict({{"name", test::Str("third")}})}}));
    files.PassSeconds(1.5);
    EXPECT_EQ(files.NameOf(path, TextWidth::Wide), "third");
}

}  // namespace
}  // namespace seedlens
