// POSIX names are bytes: the lossless mapping of the UTF codec, for names
// from the host and from std::filesystem alike.

#include "platform/file_names.h"
#include "platform/utf_codec.h"

namespace seedlens::platform {

std::u16string FileNameFromNarrow(std::string_view Name) { return DecodeUtf8EscapingBytes(Name); }
std::string FileNameToNarrow(std::u16string_view Name) { return EncodeUtf8RestoringBytes(Name); }
std::u16string FileNameFromPathText(std::string_view Path) { return DecodeUtf8EscapingBytes(Path); }

}  // namespace seedlens::platform
