// SHA-1 through Seedlens' digest service against OpenSSL's EVP interface
// called directly, the way `openssl speed -evp sha1` measures it.

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <string>

#include "torrent/hashes.h"

namespace {

const std::string& ThreeMegabytes() {
    static const std::string bytes(3'000'000, '\x5a');
    return bytes;
}

void BM_GetStringHashSha1(benchmark::State& State) {
    const std::string& bytes = ThreeMegabytes();
    for (auto _ : State) benchmark::DoNotOptimize(seedlens::GetStringHash(bytes, true));
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * bytes.size()));
}
BENCHMARK(BM_GetStringHashSha1);

void BM_OpenSslEvpSha1(benchmark::State& State) {
    const std::string& bytes = ThreeMegabytes();
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    for (auto _ : State) {
        EVP_DigestInit_ex(context, EVP_sha1(), nullptr);
        EVP_DigestUpdate(context, bytes.data(), bytes.size());
        EVP_DigestFinal_ex(context, digest, &length);
        benchmark::DoNotOptimize(digest);
    }
    EVP_MD_CTX_free(context);
    State.SetBytesProcessed(static_cast<std::int64_t>(State.iterations() * bytes.size()));
}
BENCHMARK(BM_OpenSslEvpSha1);

}  // namespace

BENCHMARK_MAIN();
