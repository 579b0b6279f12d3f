// Which decoding a torrent text gets: UTF-8 as it is, the declared code
// page, or the legacy code page.

#include <gtest/gtest.h>

#include <ostream>

#include "platform/code_pages.h"
#include "tests/support/hex.h"
#include "torrent/declared_encoding.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

using test::Hex;

struct DecodeCase {
    const char* Name;
    std::string Encoding;
    bool FindEncoding;
    std::string Raw;
    std::string Utf8;
};

// Names the case in test listings instead of dumping its bytes.
inline std::ostream& operator<<(std::ostream& Out, const DecodeCase& Case) { return Out << Case.Name; }

class DecodeString : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeString, PicksTheRightDecoding) {
    TTorrentFile doc;
    doc.Encoding = GetParam().Encoding;
    if (GetParam().FindEncoding) doc.ParseOptions = {TParseOptionsKind::poFindEncoding};
    EXPECT_EQ(doc.DecodeString(GetParam().Raw), GetParam().Utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeString,
    testing::Values(
        DecodeCase{"ascii_with_any_encoding", "shift_jis", true, "plain", "plain"},
        DecodeCase{"empty", "", true, "", ""},
        DecodeCase{"latin1_word_in_1252", "", true, Hex("63 61 66 e9"), Hex("63 61 66 c3 a9")},
        DecodeCase{"shift_jis", "shift_jis", true, Hex("93fa 967b 8cea"), "日本語"},
        DecodeCase{"shift_jis_any_case", "SHIFT_JIS", true, Hex("93fa 967b 8cea"), "日本語"},
        DecodeCase{"big5_lower", "big5", true, Hex("a4a4 a4e5"), "中文"},
        DecodeCase{"BIG5_upper", "BIG5", true, Hex("a4a4 a4e5"), "中文"},
        DecodeCase{"gb2312", "gb2312", true, Hex("d6d0 cec4"), "中文"},
        DecodeCase{"korean", "korean", true, Hex("c7d1 b1b9 beee"), "한국어"},
        // Every label of the same encoding, trimmed: they read as declared.
        DecodeCase{"big5_hkscs", "Big5-HKSCS", true, Hex("a4a4"), "中"},
        DecodeCase{"gbk", "GBK", true, Hex("d6d0"), "中"},
        DecodeCase{"euc_kr", "EUC-KR", true, Hex("c7d1"), "한"},
        // UTF-8 labels select no code page: bytes that are not UTF-8 read as undeclared.
        DecodeCase{"utf8_without_dash", "UTF8", true, Hex("e9"), Hex("c3a9")},
        DecodeCase{"declared_utf8_but_not", "UTF-8", true, Hex("e9"), Hex("c3a9")},
        DecodeCase{"padded_name", " shift_jis\t", true, Hex("93fa"), "日"},
        DecodeCase{"no_label", "shift jis", true, Hex("93fa"), Hex("e2809c c3ba")},
        DecodeCase{"option_off", "shift_jis", false, Hex("93fa 967b"), Hex("e2809c c3ba e28093 7b")},
        // Shift-JIS bytes that happen to be UTF-8 stay UTF-8.
        DecodeCase{"valid_utf8_wins", "shift_jis", true, Hex("e6 97 a5"), Hex("e6 97 a5")},
        // Zero bytes: kept in UTF-8, end the text in a code page, kept in legacy.
        DecodeCase{"zero_in_utf8", "", true, std::string("a\0b", 3), std::string("a\0b", 3)},
        DecodeCase{"zero_in_code_page", "shift_jis", true, Hex("93fa 00 967b 80"), "日"},
        DecodeCase{"leading_zero_in_code_page", "shift_jis", true, Hex("00 93fa 80"), ""},
        DecodeCase{"zero_in_legacy", "", true, Hex("e9 00 e9"), Hex("c3a9 00 c3a9")}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST(DeclaredEncoding, Table) {
    EXPECT_EQ(DeclaredCodePage("Big5"), 950u);
    EXPECT_EQ(DeclaredCodePage("GB2312"), 936u);
    EXPECT_EQ(DeclaredCodePage("Shift_JIS"), 932u);
    EXPECT_EQ(DeclaredCodePage("KOREAN"), 949u);
    EXPECT_EQ(DeclaredCodePage(" cp936\r\n"), 936u);
    EXPECT_EQ(DeclaredCodePage("Windows-31J"), 932u);
    EXPECT_FALSE(DeclaredCodePage("UTF-8"));
    EXPECT_FALSE(DeclaredCodePage("utf-16le"));
    EXPECT_FALSE(DeclaredCodePage(""));
    EXPECT_FALSE(DeclaredCodePage(" \t "));
    EXPECT_FALSE(DeclaredCodePage("big5\v"));
    EXPECT_FALSE(DeclaredCodePage(std::string(200, 'a')));
}

TEST(DeclaredEncoding, UnconvertibleCodePageIsNotTheEmptyText) {
    EXPECT_FALSE(CodePageToUTF8(Hex("93fa"), 4242424).has_value());
    EXPECT_EQ(CodePageToUTF8(Hex("00 93fa"), 4242424), "");  // nothing left to decode
    EXPECT_EQ(CodePageToUTF8("", 932), "");
}

}  // namespace
}  // namespace seedlens
