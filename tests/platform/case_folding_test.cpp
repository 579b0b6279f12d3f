// The simple case folding table, on every platform: the POSIX case
// comparison is built on it.

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/case_folding.h"

namespace seedlens::platform {
namespace {

TEST(SimpleCaseFold, FoldsOneCodePointToOne) {
    struct { char32_t From, To; } cases[] = {
        {U'A', U'a'}, {U'Z', U'z'}, {U'a', U'a'}, {U'@', U'@'}, {U'[', U'['},
        {0x212A, U'k'},    // Kelvin sign
        {0x017F, U's'},    // long s
        {0x1E9E, 0x00DF},  // capital sharp s: S, not the full "ss"
        {0x00DF, 0x00DF},
        {0x03F4, 0x03B8},  // capital theta symbol
        {0x0398, 0x03B8},
        {0x03D1, 0x03B8},  // theta symbol
        {0x0131, 0x0131},  // dotless i has no folding
        {0x0130, 0x0130},  // capital I with dot: only F and T foldings
        {0x00C9, 0x00E9}, {0x0100, 0x0101}, {0x0101, 0x0101}, {0x0178, 0x00FF},
        {0x0416, 0x0436}, {0x0401, 0x0451}, {0x1F88, 0x1F80}, {0x2C00, 0x2C30},
        {0xFF21, 0xFF41},   // fullwidth A
        {0x10400, 0x10428}, // Deseret
        {0x1E900, 0x1E922}, // Adlam, the last run
        {0x10428, 0x10428}, {0x4E00, 0x4E00}, {0xD801, 0xD801}, {0x10FFFF, 0x10FFFF}, {0x110000, 0x110000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<std::uint32_t>(SimpleCaseFold(c.From)), static_cast<std::uint32_t>(c.To))
            << std::hex << static_cast<std::uint32_t>(c.From);
}

// The comparison relies on both over every code point.
TEST(SimpleCaseFold, IsStableAndKeepsUtf16Lengths) {
    for (char32_t code = 0; code < 0x110000; ++code) {
        const char32_t folded = SimpleCaseFold(code);
        ASSERT_EQ(SimpleCaseFold(folded), folded) << std::hex << static_cast<std::uint32_t>(code);
        ASSERT_EQ(code < 0x10000, folded < 0x10000) << std::hex << static_cast<std::uint32_t>(code);
    }
}

}  // namespace
}  // namespace seedlens::platform
