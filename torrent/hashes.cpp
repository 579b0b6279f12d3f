#include "torrent/hashes.h"


namespace seedlens {

namespace {
platform::DigestAlgorithm AlgorithmOf(bool UseSHA1) {
    return UseSHA1 ? platform::DigestAlgorithm::Sha1 : platform::DigestAlgorithm::Md5;
}

void HexDigest(std::span<const std::byte> Bytes, platform::DigestAlgorithm Algorithm, std::string& Out) {
    platform::Digest digest(Algorithm);
    digest.Update(Bytes);
    const auto value = digest.Finish();
    if (!value) {
        Out.clear();
        return;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    Out.resize(value->size() * 2);
    for (std::size_t i = 0; i < value->size(); ++i) {
        Out[2 * i] = kHex[(*value)[i] >> 4];
        Out[2 * i + 1] = kHex[(*value)[i] & 0x0F];
    }
}
}  // namespace

std::string GetStreamHash(MemoryStream& Stream, bool UseSHA1) {
    // The bytes are in memory already: digest them where they are.
    std::string text;
    HexDigest(Stream.Remaining(), AlgorithmOf(UseSHA1), text);
    Stream.Seek(Stream.Size(), MemoryStream::Origin::Beginning);
    return text;
}

std::string GetStringHash(std::string_view Bytes, bool UseSHA1) {
    std::string text;
    GetStringHashInto(Bytes, UseSHA1, text);
    return text;
}

void GetStringHashInto(std::string_view Bytes, bool UseSHA1, std::string& Out) {
    GetStringHashInto(Bytes, AlgorithmOf(UseSHA1), Out);
}

void GetStringHashInto(std::string_view Bytes, platform::DigestAlgorithm Algorithm, std::string& Out) {
    HexDigest(std::as_bytes(std::span(Bytes.data(), Bytes.size())), Algorithm, Out);
}

}  // namespace seedlens
