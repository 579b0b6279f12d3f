#pragma once
// Message digests (SHA-1, SHA-256 and MD5) from the platform's cryptographic library.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace seedlens::platform {

enum class DigestAlgorithm { Sha1, Sha256, Md5 };

// One digest computation. Any failure of the platform's library shows as an
// empty result from Finish; nothing throws but out-of-memory.
class Digest {
public:
    explicit Digest(DigestAlgorithm Algorithm);
    ~Digest();
    Digest(const Digest&) = delete;
    Digest& operator=(const Digest&) = delete;

    // Adds bytes; returns false once the computation has failed.
    bool Update(std::span<const std::byte> Bytes);
    // The digest's bytes, or nothing when it could not be made.
    std::optional<std::vector<std::uint8_t>> Finish();

private:
    struct State;
    std::unique_ptr<State> FState;
};

}  // namespace seedlens::platform
