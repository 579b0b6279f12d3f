// Texts through the real plug-in: whole for scripts, a file manager's
// buffer for the table, and a cut told from a text that just fits.

#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "plugin/field_table.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/temp_dir.h"
#include "tools/loaded_plugin.h"

namespace seedlens::tool {
namespace {

using namespace test;

std::string TorrentWithComment(const std::string& Comment) {
    return Dict({{"comment", Str(Comment)},
                 {"info", Dict({{"length", Int(1)}, {"name", Str("n")}, {"piece length", Int(16384)},
                                {"pieces", Str(std::string(20, 'x'))}})}});
}

std::string ThroughCodePage(const std::string& Utf8) {
    return platform::Utf16ToUtf8(platform::NarrowToUtf16(platform::Utf16ToNarrow(platform::Utf8ToUtf16(Utf8))));
}

TEST(LoadedPluginTexts, WholeForScriptsMarkedCutForTheTable) {
    const LoadedPlugin plugin(SEEDLENS_WDX_PATH);
    TempDir dir;
    // Room in a host's buffer of 2,048 characters: 2,047 and the terminator.
    const std::string fits(2047, 'f');
    const std::string longer = std::string(40'000, 'l') + "\xc3\xa9" + "end";
    const std::string pair = std::string(2046, 'p') + "\xf0\x9f\x8e\xb5";  // the pair straddles the end
    const struct {
        const char* Name;
        std::string Comment;
        std::string Shown;  // in the host's buffer
        bool Cut;
    } cases[] = {
        {"fits", fits, fits, false},
        {"longer", longer, std::string(2047, 'l'), true},
        {"pair", pair, std::string(2046, 'p'), true},
        {"short", "short", "short", false},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write(std::string(c.Name) + ".torrent", TorrentWithComment(c.Comment)).string();
        for (const bool narrow : {false, true}) {
            SCOPED_TRACE(std::string(c.Name) + (narrow ? " narrow" : " wide"));
            const FieldAnswer whole = plugin.Value(path, fiComment, 0, narrow, TextBuffer::Whole);
            // The 8-bit call gives what the code page can hold (everything, in UTF-8).
            EXPECT_EQ(whole.Text, narrow ? ThroughCodePage(c.Comment) : c.Comment);
            EXPECT_FALSE(whole.Cut);
            const FieldAnswer host = plugin.Value(path, fiComment, 0, narrow, TextBuffer::Host);
            EXPECT_EQ(host.Cut, c.Cut);
            // The 8-bit call may cut inside a character; the wide one keeps pairs whole.
            if (!narrow) {
                EXPECT_EQ(host.Text, c.Shown);
            }
        }
    }
}

}  // namespace
}  // namespace seedlens::tool
