// Digests through the Windows CryptoAPI. The context is acquired for
// verification only: hashing needs no key container, and none is created.

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>

#include "platform/digest.h"

namespace seedlens::platform {

struct Digest::State {
    HCRYPTPROV Provider = 0;
    HCRYPTHASH Hash = 0;
    DWORD Length = 0;
    bool Failed = false;
    ~State() {
        if (Hash != 0) CryptDestroyHash(Hash);
        if (Provider != 0) CryptReleaseContext(Provider, 0);
    }
};

namespace {
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

// PROV_RSA_AES is the provider type that offers SHA-256 besides SHA-1 and MD5.
Digest::Digest(DigestAlgorithm Algorithm) : FState(std::make_unique<State>()) {
    const AlgorithmId algorithm = IdOf(Algorithm);
    FState->Length = algorithm.Length;
    FState->Failed =
        !CryptAcquireContextA(&FState->Provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) ||
        !CryptCreateHash(FState->Provider, algorithm.Id, 0, 0, &FState->Hash);
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
