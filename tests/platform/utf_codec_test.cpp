// UTF-8 <-> UTF-16 as the Windows converter does it: ill-formed input is
// replaced, never dropped, never cut, never passed on as a lone surrogate.
// File names are the exception: their bytes map to UTF-16 and back unchanged.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <ostream>

#include "platform/code_pages.h"
#include "platform/utf_codec.h"
#include "tests/support/hex.h"

namespace seedlens::platform {
namespace {

using test::Hex;

struct DecodeCase {
    const char* Name;
    std::string Bytes;
    std::u16string Text;
};

// Names the case in test listings instead of dumping its bytes.
inline std::ostream& operator<<(std::ostream& Out, const DecodeCase& Case) { return Out << Case.Name; }

class Utf8Decoding : public testing::TestWithParam<DecodeCase> {};

// Our codec replaces each maximal ill-formed subpart, as Unicode recommends.
TEST_P(Utf8Decoding, ReplacesEveryIllFormedSequence) { EXPECT_EQ(DecodeUtf8(GetParam().Bytes), GetParam().Text); }

// The platform's converter may count replacements its own way; it must
// keep every well-formed character and never give a zero or a lone surrogate
// for ill-formed input.
TEST_P(Utf8Decoding, PlatformConverterReplacesToo) {
    const std::u16string text = Utf8ToUtf16(GetParam().Bytes);
    std::u16string kept, expectedKept;
    for (char16_t c : text) if (c != 0xFFFD) kept += c;
    for (char16_t c : GetParam().Text) if (c != 0xFFFD) expectedKept += c;
    EXPECT_EQ(kept, expectedKept);
    EXPECT_EQ(text.find(u'\uFFFD') == std::u16string::npos, GetParam().Text.find(u'\uFFFD') == std::u16string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, Utf8Decoding,
    testing::Values(
        DecodeCase{"ascii", "abc", u"abc"},
        DecodeCase{"two_three_four", Hex("c3a9 e697a5 f09f9880"), u"\u00e9\u65e5\U0001F600"},
        DecodeCase{"zero_byte_kept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        DecodeCase{"overlong_c0_80", Hex("c0 80"), u"\ufffd\ufffd"},
        DecodeCase{"overlong_e0_80_80", Hex("e0 80 80"), u"\ufffd\ufffd\ufffd"},
        DecodeCase{"encoded_surrogate", Hex("ed a0 80"), u"\ufffd\ufffd\ufffd"},
        DecodeCase{"above_10ffff", Hex("f4 90 80 80"), u"\ufffd\ufffd\ufffd\ufffd"},
        DecodeCase{"lead_f5", Hex("f5 80 80 80"), u"\ufffd\ufffd\ufffd\ufffd"},
        DecodeCase{"lone_continuation", Hex("61 80 62"), u"a\ufffdb"},
        DecodeCase{"truncated_at_end", Hex("61 e4 b8"), u"a\ufffd"},
        DecodeCase{"truncated_before_ascii", Hex("e4 b8 61"), u"\ufffda"},
        DecodeCase{"byte_ff", Hex("ff"), u"\ufffd"},
        DecodeCase{"latin1_word", Hex("63 61 66 e9"), u"caf\ufffd"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(Utf16Encoding, PairsAndLoneSurrogates) {
    EXPECT_EQ(Utf16ToUtf8(u"\u00e9\U0001F600"), Hex("c3a9 f09f9880"));
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), Hex("efbfbd"));
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00), u'a'}), Hex("efbfbd 61"));
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD83D)}), Hex("61 efbfbd"));
}

// ASCII is narrowed in blocks: a unit just past ASCII, or one whose low
// byte alone looks like ASCII, at any place of runs of every length around
// the block size, must still be encoded.
TEST(Utf16Encoding, NonAsciiAtEveryPlaceOfAsciiRuns) {
    for (const char16_t special : {u'\u0080', u'\u0141', u'\uFF21'}) {
        for (std::size_t length = 1; length <= 24; ++length) {
            for (std::size_t at = 0; at <= length; ++at) {
                std::u16string text;
                std::string expected;
                for (std::size_t i = 0; i < length; ++i) {
                    const char ascii = static_cast<char>('A' + i);
                    text.push_back(i == at ? special : static_cast<char16_t>(ascii));
                    expected += i == at ? Utf16ToUtf8(std::u16string(1, special)) : std::string(1, ascii);
                }
                EXPECT_EQ(Utf16ToUtf8(text), expected) << length << " units, U+" << std::hex << int(special) << " at " << at;
            }
        }
    }
    EXPECT_EQ(Utf16ToUtf8(u"\u0080"), Hex("c280"));
    EXPECT_EQ(Utf16ToUtf8(u"\u0141"), Hex("c581"));
    EXPECT_EQ(Utf16ToUtf8(u"\uFF21"), Hex("efbca1"));
}

TEST(AsciiWidening, StopsAtTheFirstByteAbove7F) {
    for (const char special : {'\x80', '\xE9', '\xFF'}) {
        for (std::size_t length = 0; length <= 40; ++length) {
            for (std::size_t at = 0; at <= length; ++at) {
                std::string bytes;
                for (std::size_t i = 0; i < length; ++i) bytes += i == at ? special : static_cast<char>(0x7F - i);
                std::u16string widened(length, u'?');
                ASSERT_EQ(WidenAsciiPrefix(bytes, widened.data()), at) << length << " bytes, non-ASCII at " << at;
                for (std::size_t i = 0; i < at; ++i) ASSERT_EQ(widened[i], static_cast<char16_t>(0x7F - i));
                // Nothing past the ASCII prefix is written.
                for (std::size_t i = at; i < length; ++i) ASSERT_EQ(widened[i], u'?');
            }
        }
    }
}

TEST(Utf16Encoding, RoundTripsEveryBmpCharacterAndSomeBeyond) {
    std::u16string all;
    for (char32_t c = 1; c < 0xD800; ++c) all.push_back(static_cast<char16_t>(c));
    for (char32_t c = 0xE000; c < 0x10000; ++c) all.push_back(static_cast<char16_t>(c));
    all += u"\U00010000\U0010FFFF";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(all)), all);
}

// File names that are bytes, most of them UTF-8: well-formed parts decode
// as usual, every other byte stands for itself, and the way back restores
// the very bytes.
struct ByteNameCase {
    const char* Name;
    std::string Bytes;
    std::u16string Text;
};

inline std::ostream& operator<<(std::ostream& Out, const ByteNameCase& Case) { return Out << Case.Name; }

class ByteNames : public testing::TestWithParam<ByteNameCase> {};

TEST_P(ByteNames, MapToUtf16AndBack) {
    EXPECT_EQ(DecodeUtf8EscapingBytes(GetParam().Bytes), GetParam().Text);
    EXPECT_EQ(EncodeUtf8RestoringBytes(GetParam().Text), GetParam().Bytes);
}

std::u16string Units(std::initializer_list<char16_t> List) { return std::u16string(List); }

INSTANTIATE_TEST_SUITE_P(
    Codec, ByteNames,
    testing::Values(
        ByteNameCase{"ascii", "a.torrent", u"a.torrent"},
        ByteNameCase{"utf8_unchanged", Hex("63 61 66 c3a9 e697a5 f09f9880"), u"caf\u00e9\u65e5\U0001F600"},
        ByteNameCase{"replacement_character_is_itself", Hex("63 61 66 efbfbd"), u"caf\ufffd"},
        ByteNameCase{"latin1", Hex("63 61 66 e9"), Units({u'c', u'a', u'f', 0xDCE9})},
        ByteNameCase{"latin1_other_letter", Hex("63 61 66 e8"), Units({u'c', u'a', u'f', 0xDCE8})},
        ByteNameCase{"shift_jis", Hex("83 65 83 58 83 67"), Units({0xDC83, u'e', 0xDC83, u'X', 0xDC83, u'g'})},
        ByteNameCase{"encoded_surrogate", Hex("ed b0 80"), Units({0xDCED, 0xDCB0, 0xDC80})},
        ByteNameCase{"overlong", Hex("c0 af"), Units({0xDCC0, 0xDCAF})},
        ByteNameCase{"above_10ffff", Hex("f4 90 80 80"), Units({0xDCF4, 0xDC90, 0xDC80, 0xDC80})},
        ByteNameCase{"truncated_at_end", Hex("61 e4 b8"), Units({u'a', 0xDCE4, 0xDCB8})},
        ByteNameCase{"truncated_before_ascii", Hex("e4 b8 61"), Units({0xDCE4, 0xDCB8, u'a'})},
        ByteNameCase{"well_formed_right_after", Hex("ff c3a9 80"), Units({0xDCFF, 0x00E9, 0xDC80})},
        ByteNameCase{"after_a_pair", Hex("f09f9880 e9"), Units({0xD83D, 0xDE00, 0xDCE9})},
        ByteNameCase{"ascii_runs_around", Hex("30313233343536373839616263646566 e9 30313233343536373839616263646566"),
                     u"0123456789abcdef" + Units({0xDCE9}) + u"0123456789abcdef"}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ByteNames, OnlyLoneSurrogatesThatStandForBytesBecomeBytes) {
    struct {
        std::u16string Text;
        std::string Bytes;
    } cases[] = {
        {Units({0xD800}), Hex("efbfbd")},
        {Units({0xDC7F}), Hex("efbfbd")},  // just below the bytes' range
        {Units({0xDD00}), Hex("efbfbd")},  // just above it
        {Units({u'a', 0xDBFF}), Hex("61 efbfbd")},
        {Units({0xD800, 0xDCE9}), Hex("f0 90 83 a9")},  // a pair is a pair
    };
    for (const auto& c : cases) EXPECT_EQ(EncodeUtf8RestoringBytes(c.Text), c.Bytes);
}

TEST(ByteNames, EveryWellFormedTextIsUnchanged) {
    std::u16string all;
    for (char32_t c = 1; c < 0xD800; ++c) all.push_back(static_cast<char16_t>(c));
    for (char32_t c = 0xE000; c < 0x10000; ++c) all.push_back(static_cast<char16_t>(c));
    all += u"\U00010000\U0010FFFF";
    EXPECT_EQ(DecodeUtf8EscapingBytes(EncodeUtf8(all)), all);
}

// Any byte string survives the trip, so distinct names stay distinct.
TEST(ByteNames, RandomByteStringsRoundTrip) {
    const std::string pieces[] = {Hex("c3a9"), Hex("e697a5"), Hex("f09f9880"), Hex("eda080"), Hex("efbfbd"), "a"};
    std::uint32_t state = 2463534242u;
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const std::uint32_t length = next() % 12;
        for (std::uint32_t i = 0; i < length; ++i) {
            // Whole or cut characters among random bytes.
            const std::string& piece = pieces[next() % std::size(pieces)];
            if (next() % 2 == 0) bytes += static_cast<char>(next());
            else bytes += piece.substr(0, 1 + next() % piece.size());
        }
        const std::u16string text = DecodeUtf8EscapingBytes(bytes);
        ASSERT_EQ(EncodeUtf8RestoringBytes(text), bytes) << "round " << round;
        ASSERT_LE(text.size(), bytes.size());
    }
}

}  // namespace
}  // namespace seedlens::platform
