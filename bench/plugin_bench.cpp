// The plug-in's value requests against their floor.
//
// Cold: the first field of files not yet cached, through the wide value
// request, as a host asks when it opens a folder. Floor: what no plug-in can
// avoid for the same files: opening and reading each file and the info hash
// of its info dictionary (SHA-1, or SHA-256 for a v2-only torrent). Cached: a field of a file already in a cache of
// 4,000 entries. Confirming: a hit on an entry due for its look at the file.
// Large trees: cold against floor on single files of up to a million files
// or eight million nodes (BM_LargeColdOverFloor_, slow: filter them apart).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "bencode/bencode_tree.h"
#include "platform/code_pages.h"
#include "platform/file_state.h"
#include "platform/read_only_file.h"
#include "plugin/value_request.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/generated_torrents.h"
#include "torrent/hashes.h"

namespace {

namespace fs = std::filesystem;
using seedlens::PluginLibrary;

using seedlens::platform::DigestAlgorithm;

struct Corpus {
    std::vector<std::u16string> Files;
    std::vector<std::pair<std::int64_t, std::int64_t>> InfoSpans;  // where each info dictionary lies
    // The digests the fields need: SHA-1, SHA-256 alone for a v2-only
    // torrent, both for a hybrid.
    std::vector<DigestAlgorithm> InfoHashes = {DigestAlgorithm::Sha1};
};

fs::path BenchFolder() {
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / "seedlens-bench";
        fs::remove_all(path);
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

Corpus MakeCorpus(const std::string& Prefix, std::size_t Count, std::string (*Make)(std::size_t),
                  std::vector<DigestAlgorithm> InfoHashes = {DigestAlgorithm::Sha1}) {
    Corpus corpus;
    corpus.InfoHashes = std::move(InfoHashes);
    for (std::size_t i = 0; i < Count; ++i) {
        const std::string bytes = Make(i);
        const fs::path path = BenchFolder() / (Prefix + std::to_string(i) + ".torrent");
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        seedlens::MemoryStream stream(bytes);
        seedlens::TBEncodedTree tree(stream);
        const auto info = tree.Root().ListData().FindElement("info");
        corpus.Files.push_back(seedlens::platform::Utf8ToUtf16(path.string()));
        corpus.InfoSpans.push_back({info->Data.StreamStartPos(), info->Data.StreamEndPos()});
    }
    return corpus;
}

const Corpus& SmallTorrents() {
    static const Corpus corpus = MakeCorpus("small-", 2000, seedlens::test::SmallTorrent);
    return corpus;
}
const Corpus& LargePieces() {
    static const Corpus corpus =
        MakeCorpus("pieces-", 1, [](std::size_t) { return seedlens::test::TorrentWithPieces(3'000'000); });
    return corpus;
}
const Corpus& ManyFiles() {
    static const Corpus corpus =
        MakeCorpus("files-", 1, [](std::size_t) { return seedlens::test::TorrentWithFiles(20'000); });
    return corpus;
}
const Corpus& V2ManyFiles() {
    static const Corpus corpus =
        MakeCorpus("v2-files-", 1, [](std::size_t) { return seedlens::test::V2TorrentWithFiles(20'000); },
                   {DigestAlgorithm::Sha256});
    return corpus;
}
const Corpus& HybridManyFiles() {
    static const Corpus corpus =
        MakeCorpus("hybrid-files-", 1, [](std::size_t) { return seedlens::test::HybridTorrentWithFiles(20'000); },
                   {DigestAlgorithm::Sha1, DigestAlgorithm::Sha256});
    return corpus;
}
const Corpus& HybridLargePieces() {
    static const Corpus corpus =
        MakeCorpus("hybrid-pieces-", 1, [](std::size_t) { return seedlens::test::HybridTorrentWithPieces(3'000'000); },
                   {DigestAlgorithm::Sha1, DigestAlgorithm::Sha256});
    return corpus;
}

// Real-shaped torrents of Files files in 500 folders, and 7.9 million empty
// lists: the most nodes per byte.
template <std::size_t Files>
const Corpus& RealShaped() {
    static const Corpus corpus = MakeCorpus("real-" + std::to_string(Files) + "-", 1,
                                            [](std::size_t) { return seedlens::test::RealShapedTorrent(Files, 500); });
    return corpus;
}
const Corpus& EmptyLists() {
    static const Corpus corpus =
        MakeCorpus("empty-lists-", 1, [](std::size_t) { return seedlens::test::ManyEmptyListsTorrent(7'900'000); });
    return corpus;
}

// The first field of file I, as a host asks it.
void ColdRequest(PluginLibrary& Library, const Corpus& Files, std::size_t I) {
    char16_t value[1024];
    benchmark::DoNotOptimize(
        seedlens::RequestValue(Library, Files.Files[I], 0, 0, value, sizeof value, 0, seedlens::TextWidth::Wide));
}

// The info hashes of file I, read into Bytes.
void HashInfo(const char* Bytes, const Corpus& Files, std::size_t I) {
    const auto [start, end] = Files.InfoSpans[I];
    std::string hash;
    for (const DigestAlgorithm algorithm : Files.InfoHashes) {
        seedlens::GetStringHashInto(std::string_view(Bytes + start, static_cast<std::size_t>(end - start)), algorithm,
                                    hash);
        benchmark::DoNotOptimize(hash);
    }
}

// What no plug-in can avoid for file I: reading it and hashing its info dictionary.
void FloorWork(std::vector<char>& Buffer, const Corpus& Files, std::size_t I) {
    const auto file = seedlens::platform::ReadOnlyFile::Open(Files.Files[I]);
    Buffer.resize(static_cast<std::size_t>(file->Size()));
    file->Read(Buffer.data(), Buffer.size());
    HashInfo(Buffer.data(), Files, I);
}

// The same with a buffer of its own, freed after: a cold load of a large file
// meets fresh pages, which a buffer kept warm across files would spare the floor.
void FreshFloorWork(const Corpus& Files, std::size_t I) {
    const auto file = seedlens::platform::ReadOnlyFile::Open(Files.Files[I]);
    const auto size = static_cast<std::size_t>(file->Size());
    const auto buffer = std::make_unique_for_overwrite<char[]>(size);
    file->Read(buffer.get(), size);
    HashInfo(buffer.get(), Files, I);
}

void Cold(benchmark::State& State, const Corpus& Files) {
    for (auto _ : State) {
        State.PauseTiming();
        auto library = std::make_unique<PluginLibrary>();  // an empty cache
        State.ResumeTiming();
        for (std::size_t i = 0; i < Files.Files.size(); ++i) ColdRequest(*library, Files, i);
        State.PauseTiming();
        library.reset();
        State.ResumeTiming();
    }
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations() * Files.Files.size()));
}

void Floor(benchmark::State& State, const Corpus& Files) {
    std::vector<char> buffer;
    for (auto _ : State)
        for (std::size_t i = 0; i < Files.Files.size(); ++i) FloorWork(buffer, Files, i);
    State.SetItemsProcessed(static_cast<std::int64_t>(State.iterations() * Files.Files.size()));
}

// Cold and floor on the same files, in alternating chunks of a fraction of a
// millisecond: the machine's drift (other tenants, frequency) then weighs on
// both alike, which separate runs seconds apart cannot promise. Reports the
// time per file of each and their ratio.
void ColdOverFloor(benchmark::State& State, const Corpus& Files) {
    using Clock = std::chrono::steady_clock;
    constexpr std::size_t kChunk = 50;
    std::vector<char> buffer;
    Clock::duration cold{}, floor{};
    const auto coldChunk = [&](PluginLibrary& Library, std::size_t First, std::size_t Last) {
        const auto start = Clock::now();
        for (std::size_t i = First; i < Last; ++i) ColdRequest(Library, Files, i);
        cold += Clock::now() - start;
    };
    const auto floorChunk = [&](std::size_t First, std::size_t Last) {
        const auto start = Clock::now();
        for (std::size_t i = First; i < Last; ++i) FloorWork(buffer, Files, i);
        floor += Clock::now() - start;
    };
    for (auto _ : State) {
        auto library = std::make_unique<PluginLibrary>();  // an empty cache
        for (std::size_t first = 0; first < Files.Files.size(); first += kChunk) {
            const std::size_t last = std::min(first + kChunk, Files.Files.size());
            // Either may warm the processor's caches for the other: take turns going first.
            if ((first / kChunk) % 2 == 0) {
                coldChunk(*library, first, last);
                floorChunk(first, last);
            } else {
                floorChunk(first, last);
                coldChunk(*library, first, last);
            }
        }
        State.PauseTiming();
        library.reset();
        State.ResumeTiming();
    }
    const double files = static_cast<double>(State.iterations() * Files.Files.size());
    const double coldNs = std::chrono::duration<double, std::nano>(cold).count() / files;
    const double floorNs = std::chrono::duration<double, std::nano>(floor).count() / files;
    State.counters["cold_ns"] = coldNs;
    State.counters["floor_ns"] = floorNs;
    State.counters["ratio"] = coldNs / floorNs;
}

// Cold and floor on large files, each with an empty cache and a fresh buffer.
// Iterations take turns at going first, so an even count weighs both orders
// alike. Reports the milliseconds of each per iteration and their ratio.
void LargeColdOverFloor(benchmark::State& State, const Corpus& Files) {
    using Clock = std::chrono::steady_clock;
    Clock::duration cold{}, floor{};
    const auto timed = [](Clock::duration& Total, const auto& Work) {
        const auto start = Clock::now();
        Work();
        Total += Clock::now() - start;
    };
    bool coldFirst = true;
    for (auto _ : State) {
        State.PauseTiming();
        auto library = std::make_unique<PluginLibrary>();  // an empty cache
        State.ResumeTiming();
        const auto coldAll = [&] {
            for (std::size_t i = 0; i < Files.Files.size(); ++i) ColdRequest(*library, Files, i);
        };
        const auto floorAll = [&] {
            for (std::size_t i = 0; i < Files.Files.size(); ++i) FreshFloorWork(Files, i);
        };
        if (coldFirst) {
            timed(cold, coldAll);
            timed(floor, floorAll);
        } else {
            timed(floor, floorAll);
            timed(cold, coldAll);
        }
        coldFirst = !coldFirst;
        State.PauseTiming();
        library.reset();
        State.ResumeTiming();
    }
    const auto iterations = static_cast<double>(State.iterations());
    const double coldMs = std::chrono::duration<double, std::milli>(cold).count() / iterations;
    const double floorMs = std::chrono::duration<double, std::milli>(floor).count() / iterations;
    State.counters["cold_ms"] = coldMs;
    State.counters["floor_ms"] = floorMs;
    State.counters["ratio"] = coldMs / floorMs;
}

void BM_Cold_2000SmallTorrents(benchmark::State& State) { Cold(State, SmallTorrents()); }
void BM_Floor_2000SmallTorrents(benchmark::State& State) { Floor(State, SmallTorrents()); }
void BM_Cold_3MBPieces(benchmark::State& State) { Cold(State, LargePieces()); }
void BM_Floor_3MBPieces(benchmark::State& State) { Floor(State, LargePieces()); }
void BM_Cold_20000Files(benchmark::State& State) { Cold(State, ManyFiles()); }
void BM_Floor_20000Files(benchmark::State& State) { Floor(State, ManyFiles()); }
void BM_ColdOverFloor_2000SmallTorrents(benchmark::State& State) { ColdOverFloor(State, SmallTorrents()); }
void BM_ColdOverFloor_20000Files(benchmark::State& State) { ColdOverFloor(State, ManyFiles()); }
void BM_ColdOverFloor_3MBPieces(benchmark::State& State) { ColdOverFloor(State, LargePieces()); }
void BM_Cold_V2_20000Files(benchmark::State& State) { Cold(State, V2ManyFiles()); }
void BM_Floor_V2_20000Files(benchmark::State& State) { Floor(State, V2ManyFiles()); }
void BM_Cold_Hybrid_20000Files(benchmark::State& State) { Cold(State, HybridManyFiles()); }
void BM_Floor_Hybrid_20000Files(benchmark::State& State) { Floor(State, HybridManyFiles()); }
void BM_ColdOverFloor_V2_20000Files(benchmark::State& State) { ColdOverFloor(State, V2ManyFiles()); }
void BM_ColdOverFloor_Hybrid_20000Files(benchmark::State& State) { ColdOverFloor(State, HybridManyFiles()); }
void BM_Cold_Hybrid_3MBPieces(benchmark::State& State) { Cold(State, HybridLargePieces()); }
void BM_Floor_Hybrid_3MBPieces(benchmark::State& State) { Floor(State, HybridLargePieces()); }
void BM_ColdOverFloor_Hybrid_3MBPieces(benchmark::State& State) { ColdOverFloor(State, HybridLargePieces()); }
BENCHMARK(BM_ColdOverFloor_2000SmallTorrents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColdOverFloor_3MBPieces)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColdOverFloor_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColdOverFloor_V2_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColdOverFloor_Hybrid_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ColdOverFloor_Hybrid_3MBPieces)->Unit(benchmark::kMicrosecond);
void BM_LargeColdOverFloor_RealShaped100000Files(benchmark::State& State) {
    LargeColdOverFloor(State, RealShaped<100'000>());
}
void BM_LargeColdOverFloor_RealShaped300000Files(benchmark::State& State) {
    LargeColdOverFloor(State, RealShaped<300'000>());
}
void BM_LargeColdOverFloor_RealShaped1000000Files(benchmark::State& State) {
    LargeColdOverFloor(State, RealShaped<1'000'000>());
}
void BM_LargeColdOverFloor_7900000EmptyLists(benchmark::State& State) { LargeColdOverFloor(State, EmptyLists()); }
// Even counts, so that each order comes as often; a second or so for each run.
BENCHMARK(BM_LargeColdOverFloor_RealShaped100000Files)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeColdOverFloor_RealShaped300000Files)->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeColdOverFloor_RealShaped1000000Files)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeColdOverFloor_7900000EmptyLists)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_2000SmallTorrents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cold_2000SmallTorrents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_3MBPieces)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cold_3MBPieces)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cold_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_V2_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cold_V2_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_Hybrid_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cold_Hybrid_20000Files)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_Hybrid_3MBPieces)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Cold_Hybrid_3MBPieces)->Unit(benchmark::kMicrosecond);

// A hit: one field of a file among 4,000 cached ones, in random order.
void BM_CachedRequest(benchmark::State& State) {
    static PluginLibrary library;
    static const std::vector<std::u16string> names = [] {
        const Corpus more = MakeCorpus("cached-", 2000, seedlens::test::SmallTorrent);
        std::vector<std::u16string> all = SmallTorrents().Files;
        all.insert(all.end(), more.Files.begin(), more.Files.end());
        char16_t value[1024];
        for (const auto& name : all)
            seedlens::RequestValue(library, name, 0, 0, value, sizeof value, 0, seedlens::TextWidth::Wide);
        return all;
    }();
    std::vector<std::size_t> order(names.size());
    std::mt19937 random(42);
    for (auto& o : order) o = random() % names.size();
    char16_t value[1024];
    std::size_t next = 0;
    const auto field = static_cast<std::int32_t>(State.range(0));
    for (auto _ : State) {
        benchmark::DoNotOptimize(seedlens::RequestValue(library, names[order[next]], field, 0, value, sizeof value, 0,
                                                        seedlens::TextWidth::Wide));
        next = next + 1 == order.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_CachedRequest)->DenseRange(0, 17)->Repetitions(9)->ReportAggregatesOnly(true);

// A hit on the magnet link of a hybrid torrent with 10 trackers and a web seed.
void BM_CachedMagnetOf10Trackers(benchmark::State& State) {
    using namespace seedlens::test;
    static PluginLibrary library;
    static const std::u16string name = [] {
        std::vector<std::string> tiers;
        for (int i = 0; i < 10; ++i) tiers.push_back(List({Str("udp://tracker-" + std::to_string(i) + ".example.org:6969/announce")}));
        const std::string bytes = Dict({{"announce-list", List(tiers)},
                                        {"info", Dict({{"file tree", Dict({{"f", Dict({{"", Dict({{"length", Int(5)}})}})}})},
                                                       {"name", Str("a typical name of a torrent")},
                                                       {"piece length", Int(16384)},
                                                       {"pieces", Str(std::string(20, 'p'))}})},
                                        {"url-list", Str("http://seed.example.org/files/")}});
        const fs::path path = BenchFolder() / "magnet-10-trackers.torrent";
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return seedlens::platform::Utf8ToUtf16(path.string());
    }();
    char16_t value[2048];
    for (auto _ : State)
        benchmark::DoNotOptimize(
            seedlens::RequestValue(library, name, 15, 0, value, sizeof value, 0, seedlens::TextWidth::Wide));
}
BENCHMARK(BM_CachedMagnetOf10Trackers)->Repetitions(9)->ReportAggregatesOnly(true);

// A hit on an entry last confirmed more than a second ago, as each entry is
// at most once a second: the cached request and one look at the file (a
// stat on Linux). The clock jumps past the rule at every request.
void BM_ConfirmingRequest(benchmark::State& State) {
    static std::uint64_t now = 0;
    static PluginLibrary library({seedlens::LoadTorrentInfo, seedlens::platform::LookAtFileState, [] { return now += 2000; }});
    const std::vector<std::u16string>& names = SmallTorrents().Files;
    char16_t value[1024];
    for (const auto& name : names)
        seedlens::RequestValue(library, name, 0, 0, value, sizeof value, 0, seedlens::TextWidth::Wide);
    std::vector<std::size_t> order(names.size());
    std::mt19937 random(42);
    for (auto& o : order) o = random() % names.size();
    std::size_t next = 0;
    for (auto _ : State) {
        benchmark::DoNotOptimize(
            seedlens::RequestValue(library, names[order[next]], 0, 0, value, sizeof value, 0, seedlens::TextWidth::Wide));
        next = next + 1 == order.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_ConfirmingRequest)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
