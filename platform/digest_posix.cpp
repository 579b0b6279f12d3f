// Digests through OpenSSL's EVP interface, which uses the CPU's SHA
// instructions where it has them.

#include <openssl/evp.h>

#include "platform/digest.h"

namespace seedlens::platform {

namespace {
// Fetched once: looking an algorithm up by name costs more than hashing a
// small torrent's info dictionary. Freed when the plug-in is unloaded, so
// that loading it again and again leaks nothing.
class FetchedAlgorithms {
public:
    FetchedAlgorithms()
        : FSha1(EVP_MD_fetch(nullptr, "SHA1", nullptr)),
          FSha256(EVP_MD_fetch(nullptr, "SHA256", nullptr)),
          FMd5(EVP_MD_fetch(nullptr, "MD5", nullptr)) {}
    ~FetchedAlgorithms() {
        EVP_MD_free(FSha1);
        EVP_MD_free(FSha256);
        EVP_MD_free(FMd5);
    }
    FetchedAlgorithms(const FetchedAlgorithms&) = delete;
    FetchedAlgorithms& operator=(const FetchedAlgorithms&) = delete;
    const EVP_MD* Get(DigestAlgorithm Which) const {
        switch (Which) {
            case DigestAlgorithm::Sha1: return FSha1;
            case DigestAlgorithm::Sha256: return FSha256;
            case DigestAlgorithm::Md5: return FMd5;
        }
        return nullptr;
    }

private:
    EVP_MD* FSha1;
    EVP_MD* FSha256;
    EVP_MD* FMd5;
};

const EVP_MD* Algorithm(DigestAlgorithm Which) {
    static const FetchedAlgorithms algorithms;
    return algorithms.Get(Which);
}
}  // namespace

struct Digest::State {
    EVP_MD_CTX* Context = nullptr;
    bool Failed = false;
    ~State() { EVP_MD_CTX_free(Context); }
};

Digest::Digest(DigestAlgorithm Which) : FState(std::make_unique<State>()) {
    const EVP_MD* md = Algorithm(Which);
    FState->Context = EVP_MD_CTX_new();
    FState->Failed = md == nullptr || FState->Context == nullptr ||
                     EVP_DigestInit_ex(FState->Context, md, nullptr) != 1;
}

Digest::~Digest() = default;

bool Digest::Update(std::span<const std::byte> Bytes) {
    if (!FState->Failed && !Bytes.empty())
        FState->Failed = EVP_DigestUpdate(FState->Context, Bytes.data(), Bytes.size()) != 1;
    return !FState->Failed;
}

std::optional<std::vector<std::uint8_t>> Digest::Finish() {
    if (FState->Failed) return std::nullopt;
    std::vector<std::uint8_t> out(EVP_MAX_MD_SIZE);
    unsigned int length = 0;
    FState->Failed = EVP_DigestFinal_ex(FState->Context, out.data(), &length) != 1;
    if (FState->Failed) return std::nullopt;
    out.resize(length);
    return out;
}

}  // namespace seedlens::platform
