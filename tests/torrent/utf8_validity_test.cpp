#include <gtest/gtest.h>

#include "tests/support/hex.h"
#include "torrent/utf8_validity.h"

namespace seedlens {
namespace {

using test::Hex;

TEST(Utf8Validity, SequenceLengthOfEveryByte) {
    for (int b = 0; b < 256; ++b) {
        const int expected = b < 0x80 ? 1 : b < 0xC0 ? -1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF8 ? 4 : -1;
        EXPECT_EQ(UTF8SequenceLength(static_cast<std::uint8_t>(b)), expected) << b;
        EXPECT_EQ(IsUTF8Continuation(static_cast<std::uint8_t>(b)), b >= 0x80 && b < 0xC0) << b;
    }
}

bool Valid(const std::string& Bytes) { return IsValidUTF8(Bytes.data(), static_cast<std::int64_t>(Bytes.size())); }

TEST(Utf8Validity, ShapeOnly) {
    struct { const char* Hex; bool Valid; } cases[] = {
        {"", true},
        {"41 42 43", true},
        {"c3 a9", true},
        {"e6 97 a5 e6 9c ac", true},
        {"f0 9f 98 80", true},
        {"c0 80", true},          // overlong, but well shaped
        {"ed a0 80", true},       // encoded surrogate
        {"f5 80 80 80", true},    // beyond U+10FFFF
        {"f4 90 80 80", true},
        {"80", false},            // lone continuation
        {"f8 80 80 80 80", false},
        {"e4 b8", false},         // cut off at the end
        {"63 61 66 e9", false},
        // The bytes after the lead byte are what must be continuations.
        {"c3 41", false},
        {"e6 97 41", false},
        {"e6 41 a5", false},
        {"f0 9f 98 41", false},
        {"f0 41 98 80", false},
        {"41 41 41 41 41 41 41 41 c3", false},  // fault after an ASCII run
        {"41 41 41 41 41 41 41 41 c3 a9", true},
    };
    for (const auto& c : cases) EXPECT_EQ(Valid(Hex(c.Hex)), c.Valid) << c.Hex;
    EXPECT_TRUE(Valid(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace seedlens
