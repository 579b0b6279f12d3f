// Digests through the Windows CryptoAPI. The context is acquired for
// verification only: hashing needs no key container, and none is created.

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <atomic>

#include "platform/digest.h"

namespace seedlens::platform {

struct Digest::State {
    HCRYPTHASH Hash = 0;
    DWORD Length = 0;
    bool Failed = false;
    ~State() {
        if (Hash != 0) CryptDestroyHash(Hash);
    }
};

namespace {

// One context for every digest on every thread, each with its own hash
// object. Releasing the last context unloads the provider's library, and
// loading it again for the next file costs far more than the digest. The
// module stays loaded once loaded, so the context is never released.
std::atomic<HCRYPTPROV> gProvider{0};

// The shared context, acquired by the first digest that needs it; 0 when
// it cannot be had now (the next digest tries again).
HCRYPTPROV SharedProvider() {
    if (const HCRYPTPROV provider = gProvider.load(std::memory_order_acquire); provider != 0) return provider;
    // PROV_RSA_AES is the provider type that offers SHA-256 besides SHA-1 and MD5.
    HCRYPTPROV fresh = 0;
    if (!CryptAcquireContextA(&fresh, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return 0;
    HCRYPTPROV first = 0;
    if (gProvider.compare_exchange_strong(first, fresh, std::memory_order_acq_rel)) return fresh;
    CryptReleaseContext(fresh, 0);  // another thread got there first
    return first;
}

struct AlgorithmId {
    ALG_ID Id;
    DWORD Length;
};

AlgorithmId IdOf(DigestAlgorithm Algorithm) {
    switch (Algorithm) {
        case DigestAlgorithm::Sha1: return {CALG_SHA1, 20};
        case DigestAlgorithm::Sha256: return {CALG_SHA_256, 32};
        case DigestAlgorithm::Md5: return {CALG_MD5, 16};
    }
    return {CALG_SHA1, 20};
}
}  // namespace

Digest::Digest(DigestAlgorithm Algorithm) : FState(std::make_unique<State>()) {
    const AlgorithmId algorithm = IdOf(Algorithm);
    FState->Length = algorithm.Length;
    const HCRYPTPROV provider = SharedProvider();
    FState->Failed = provider == 0 || !CryptCreateHash(provider, algorithm.Id, 0, 0, &FState->Hash);
}

Digest::~Digest() = default;

bool Digest::Update(std::span<const std::byte> Bytes) {
    // CryptHashData takes a 32-bit count: feed large inputs in pieces.
    constexpr std::size_t kPiece = 1 << 30;
    while (!FState->Failed && !Bytes.empty()) {
        const std::size_t n = std::min(Bytes.size(), kPiece);
        FState->Failed = !CryptHashData(FState->Hash, reinterpret_cast<const BYTE*>(Bytes.data()),
                                        static_cast<DWORD>(n), 0);
        Bytes = Bytes.subspan(n);
    }
    return !FState->Failed;
}

std::optional<std::vector<std::uint8_t>> Digest::Finish() {
    if (FState->Failed) return std::nullopt;
    std::vector<std::uint8_t> out(32);
    DWORD length = FState->Length;
    if (!CryptGetHashParam(FState->Hash, HP_HASHVAL, out.data(), &length, 0)) return std::nullopt;
    out.resize(length);
    return out;
}

}  // namespace seedlens::platform
