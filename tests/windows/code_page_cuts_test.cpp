// Texts cut to a buffer in any code page keep whole characters: single and
// double-byte code pages, UTF-8, and a code page of longer characters
// reached by none of those rules (UTF-7), whatever the active code page is.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/code_pages_windows.h"
#include "tests/support/hex.h"

namespace seedlens {
namespace {

using test::Hex;

struct CutCase {
    UINT CodePage;
    std::vector<std::pair<std::u16string, std::string>> Characters;  // each with its bytes, in hex
};

const CutCase kCases[] = {
    {1252, {{u"a", "61"}, {u"é", "e9"}, {u"€", "80"}}},
    {932, {{u"a", "61"}, {u"ｱ", "b1"}, {u"日", "93fa"}, {u"本", "967b"}}},
    {936, {{u"中", "d6d0"}, {u"a", "61"}, {u"文", "cec4"}}},
    {949, {{u"한", "c7d1"}, {u"국", "b1b9"}}},
    {950, {{u"中", "a4a4"}, {u"文", "a4e5"}, {u"a", "61"}}},
    {CP_UTF8, {{u"a", "61"}, {u"é", "c3a9"}, {u"日", "e697a5"}, {u"😀", "f09f9880"}, {u"b", "62"}}},
    // Each character encoded on its own: "+" opens base64, "-" closes it.
    {CP_UTF7, {{u"a", "61"}, {u"é", "2b414f6b2d"}, {u"b", "62"}}},
};

TEST(CodePageCuts, OnlyWholeCharactersFit) {
    for (const CutCase& c : kCases) {
        std::u16string text;
        std::size_t total = 0;
        for (const auto& [character, bytes] : c.Characters) {
            text += character;
            total += Hex(bytes).size();
        }
        for (std::size_t capacity = 0; capacity <= total + 1; ++capacity) {
            std::string expected;
            for (const auto& character : c.Characters) {
                const std::string bytes = Hex(character.second);
                if (expected.size() + bytes.size() > capacity) break;
                expected += bytes;
            }
            std::string out(total + 8, '\x55');
            const std::size_t written = platform::EncodeWholeCharactersInto(text, c.CodePage, out.data(), capacity);
            EXPECT_EQ(out.substr(0, written), expected) << "code page " << c.CodePage << ", capacity " << capacity;
            EXPECT_EQ(out.substr(capacity), std::string(out.size() - capacity, '\x55'))
                << "written past the capacity: code page " << c.CodePage << ", capacity " << capacity;
        }
    }
}

}  // namespace
}  // namespace seedlens
