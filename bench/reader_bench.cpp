// Throughput of the bencode reader on generated metainfo files.

#include <benchmark/benchmark.h>

#include "bencode/bencode_tree.h"
#include "tests/support/generated_torrents.h"

namespace {

void ReadTree(benchmark::State& State, const std::string& Input) {
    for (auto _ : State) {
        seedlens::MemoryStream stream(Input);
        seedlens::TBEncodedTree tree(stream);
        benchmark::DoNotOptimize(tree.Root());
    }
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * Input.size()));
}

void BM_ReadLargePieces(benchmark::State& State) {
    static const std::string input = seedlens::test::TorrentWithPieces(3'000'000);
    ReadTree(State, input);
}
BENCHMARK(BM_ReadLargePieces);

void BM_ReadTwentyThousandFiles(benchmark::State& State) {
    static const std::string input = seedlens::test::TorrentWithFiles(20'000);
    ReadTree(State, input);
}
BENCHMARK(BM_ReadTwentyThousandFiles);

}  // namespace

BENCHMARK_MAIN();
