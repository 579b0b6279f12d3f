// Windows names are UTF-16: the 8-bit interface speaks the active ANSI code
// page, as it does for texts.

#include "platform/code_pages.h"
#include "platform/file_names.h"

namespace seedlens::platform {

std::u16string FileNameFromNarrow(std::string_view Name) { return NarrowToUtf16(Name); }
std::string FileNameToNarrow(std::u16string_view Name) { return Utf16ToNarrow(Name); }
std::u16string FileNameFromPathText(std::string_view Path) { return Utf8ToUtf16(Path); }

}  // namespace seedlens::platform
