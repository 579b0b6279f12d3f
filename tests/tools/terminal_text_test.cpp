// Texts bound for a terminal lose their control characters, and nothing else.

#include <gtest/gtest.h>

#include "tools/terminal_text.h"

namespace seedlens::tool {
namespace {

TEST(EscapeControls, ControlCharactersShowAsEscapes) {
    const struct {
        std::string_view Raw;
        const char* Shown;
    } cases[] = {
        {"plain text", "plain text"},
        {"\x1b[2Jcleared", "\\e[2Jcleared"},              // ESC: would clear the screen
        {"\x1b]0;title\x07", "\\e]0;title\\a"},           // OSC retitling the window
        {"a\tb\nc\rd\x08\x0b\x0c", "a\\tb\\nc\\rd\\b\\v\\f"},
        {std::string_view("nul\0x", 5), "nul\\x00x"},
        {"\x01\x1f", "\\x01\\x1f"},
        {"del\x7f", "del\\x7f"},
        {"\xc2\x9b" "31m", "\\x9b31m"},                    // C1 CSI, as UTF-8
        {"\xc2\x80\xc2\x9f\xc2\xa0", "\\x80\\x9f\xc2\xa0"},  // C1 bounds; U+00A0 is no control
        {"caf\xc3\xa9 \xe2\x80\x93 \xf0\x9f\x8e\xb5", "caf\xc3\xa9 \xe2\x80\x93 \xf0\x9f\x8e\xb5"},
        {"\x9b" "1m", "\\x9b1m"},                          // a lone byte that is no UTF-8
        {"\xff\xc3", "\\xff\\xc3"},                        // cut sequence at the end
        {"\xe0\x80\xaf", "\\xe0\\x80\\xaf"},               // overlong
        {"C:\\dir\\file", "C:\\dir\\file"},                // backslashes stay
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeControls(c.Raw), c.Shown) << c.Shown;
}

}  // namespace
}  // namespace seedlens::tool
