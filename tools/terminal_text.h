#pragma once
// Texts made safe for a terminal: torrent texts and file names are hostile,
// and a raw ESC or CSI in them could clear the screen or retitle the window.

#include <string>
#include <string_view>

namespace seedlens::tool {

// Control characters (C0, DEL and C1) as escapes the way `ls` shows them:
// "\e", "\n", "\t", "\x7f", "\x9b"; bytes that are no UTF-8 as "\xff".
// Everything else, backslashes included, stays as it is.
std::string EscapeControls(std::string_view Utf8);

}  // namespace seedlens::tool
