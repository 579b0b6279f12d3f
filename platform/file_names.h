#pragma once
// File names on their way between the host, the file system and the
// plug-in, which keys its cache with UTF-16 names and opens files by them.
//
// On POSIX a name is bytes, most often UTF-8 but not always. The mapping
// keeps every name apart both ways: a byte that is no part of well-formed
// UTF-8 becomes the lone surrogate U+DC80 + (byte - 0x80) and that surrogate
// becomes the byte again, so "caf\xE9" opens "caf\xE9" and never the file
// whose name is the replacement character. On Windows names are UTF-16
// already and the 8-bit form is the active ANSI code page.

#include <string>
#include <string_view>

namespace seedlens::platform {

// A name the host passes through its 8-bit interface.
std::u16string FileNameFromNarrow(std::string_view Name);
// The 8-bit form of a name: what the POSIX file system opens, and what an
// 8-bit host passes for it.
std::string FileNameToNarrow(std::u16string_view Name);
// A path as std::filesystem gives it by u8string(): the file system's own
// bytes on POSIX, UTF-8 on Windows.
std::u16string FileNameFromPathText(std::string_view Path);

}  // namespace seedlens::platform
