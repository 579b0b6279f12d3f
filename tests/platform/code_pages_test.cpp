// Legacy code pages with real sample bytes.

#include <gtest/gtest.h>

#include <ostream>

#include "platform/code_pages.h"
#include "tests/support/hex.h"

namespace seedlens::platform {
namespace {

using test::Hex;

struct CodePageCase {
    std::uint32_t CodePage;
    std::string Bytes;
    std::u16string Text;
};

// Names the case in test listings instead of dumping its bytes.
inline std::ostream& operator<<(std::ostream& Out, const CodePageCase& Case) { return Out << Case.CodePage; }

class NamedCodePages : public testing::TestWithParam<CodePageCase> {};

TEST_P(NamedCodePages, DecodeSampleBytes) {
    const auto text = CodePageToUtf16(GetParam().Bytes, GetParam().CodePage);
    ASSERT_TRUE(text.has_value()) << "this C library cannot convert code page " << GetParam().CodePage;
    EXPECT_EQ(*text, GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Samples, NamedCodePages,
                         testing::Values(CodePageCase{932, Hex("93fa 967b 8cea"), u"日本語"},
                                         CodePageCase{936, Hex("d6d0 cec4"), u"中文"},
                                         CodePageCase{949, Hex("c7d1 b1b9 beee"), u"한국어"},
                                         CodePageCase{950, Hex("a4a4 a4e5"), u"中文"},
                                         CodePageCase{1252, Hex("63 61 66 e9 80"), u"café€"}));

TEST(NamedCodePages, CutDoubleByteCharacterIsReplaced) {
    const auto text = CodePageToUtf16(Hex("61 93"), 932);
    ASSERT_TRUE(text.has_value());
    ASSERT_EQ(text->size(), 2u);
    EXPECT_EQ((*text)[0], u'a');
    EXPECT_NE((*text)[1], u'\0');
}

TEST(NamedCodePages, UnknownCodePageCannotBeConverted) {
    EXPECT_FALSE(CodePageToUtf16("abc", 4242424).has_value());
}

TEST(LegacyCodePage, IsWindows1252ByteForByte) {
    // The five unassigned bytes become C1 controls, zero bytes stay.
    EXPECT_EQ(LegacyToUtf16(Hex("81 8d 8f 90 9d")), u"\u0081\u008d\u008f\u0090\u009d");
    EXPECT_EQ(LegacyToUtf16(Hex("61 00 62")), std::u16string(u"a\0b", 3));
    EXPECT_EQ(LegacyToUtf16(Hex("80 9f ff")), u"€Ÿÿ");
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(LegacyToUtf16(all).size(), 256u);
}

// ASCII is widened in blocks: a non-ASCII byte at any place, in strings of
// every length around the block size, must still come out right.
TEST(LegacyCodePage, NonAsciiAtEveryPlaceOfAsciiRuns) {
    for (std::size_t length = 1; length <= 40; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            std::string bytes;
            std::u16string expected;
            for (std::size_t i = 0; i < length; ++i) {
                const bool special = i == at;
                bytes.push_back(special ? '\x80' : static_cast<char>('!' + i));
                expected.push_back(special ? u'€' : static_cast<char16_t>(u'!' + i));
            }
            EXPECT_EQ(LegacyToUtf16(bytes), expected) << length << " bytes, euro sign at " << at;
        }
    }
}

TEST(LegacyCodePage, TestsCanSelectAnother) {
    SelectLegacyCodePageForTesting(932);
    const std::u16string japanese = LegacyToUtf16(Hex("93fa 00 967b"));
    SelectLegacyCodePageForTesting(0);
    EXPECT_EQ(japanese, std::u16string(u"日\0本", 3));
    EXPECT_EQ(LegacyToUtf16(Hex("e9")), u"é");
}

}  // namespace
}  // namespace seedlens::platform
