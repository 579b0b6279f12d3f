#include "torrent/hashes.h"

#include "platform/digest.h"

namespace seedlens {

namespace {
std::string HexDigest(std::span<const std::byte> Bytes, bool UseSHA1) {
    platform::Digest digest(UseSHA1 ? platform::DigestAlgorithm::Sha1 : platform::DigestAlgorithm::Md5);
    digest.Update(Bytes);
    const auto value = digest.Finish();
    if (!value) return {};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text(value->size() * 2, '\0');
    for (std::size_t i = 0; i < value->size(); ++i) {
        text[2 * i] = kHex[(*value)[i] >> 4];
        text[2 * i + 1] = kHex[(*value)[i] & 0x0F];
    }
    return text;
}
}  // namespace

std::string GetStreamHash(MemoryStream& Stream, bool UseSHA1) {
    // The bytes are in memory already: digest them where they are.
    std::string text = HexDigest(Stream.Remaining(), UseSHA1);
    Stream.Seek(Stream.Size(), MemoryStream::Origin::Beginning);
    return text;
}

std::string GetStringHash(std::string_view Bytes, bool UseSHA1) {
    return HexDigest(std::as_bytes(std::span(Bytes.data(), Bytes.size())), UseSHA1);
}

}  // namespace seedlens
