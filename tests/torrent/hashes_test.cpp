// Digests of the standard test vectors, as lowercase hex.

#include <gtest/gtest.h>

#include "torrent/hashes.h"

namespace seedlens {
namespace {

struct Vector {
    std::string Input;
    const char* Sha1;
    const char* Md5;
};

TEST(Hashes, StandardVectors) {
    const Vector vectors[] = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d", "900150983cd24fb0d6963f7d28e17f72"},
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709", "d41d8cd98f00b204e9800998ecf8427e"},
        {std::string(1'000'000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f",
         "7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const Vector& v : vectors) {
        EXPECT_EQ(GetStringHash(v.Input, true), v.Sha1);
        EXPECT_EQ(GetStringHash(v.Input, false), v.Md5);
        MemoryStream stream(v.Input);
        EXPECT_EQ(GetStreamHash(stream, true), v.Sha1);
        EXPECT_EQ(stream.Position(), stream.Size());
    }
}

TEST(Hashes, Sha256StandardVectors) {
    const std::pair<std::string, const char*> vectors[] = {
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {std::string(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [input, sha256] : vectors) {
        std::string out = "stale";
        GetStringHashInto(input, platform::DigestAlgorithm::Sha256, out);
        EXPECT_EQ(out, sha256);
    }
}

TEST(Hashes, StreamFromItsPositionOn) {
    const std::string bytes = "xxabc";
    MemoryStream stream(bytes);
    stream.Seek(2, MemoryStream::Origin::Beginning);
    EXPECT_EQ(GetStreamHash(stream, true), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(GetStreamHash(stream, true), "da39a3ee5e6b4b0d3255bfef95601890afd80709");  // at its end
}

TEST(Hashes, EveryByteValueIsHashedUnchanged) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(GetStringHash(all, true), "4916d6bdb7f78e6803698cab32d1586ea457dfc8");
}

}  // namespace
}  // namespace seedlens
