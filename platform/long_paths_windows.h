#pragma once
// CreateFileW refuses plain paths of MAX_PATH characters or more unless the
// process opted in, which a plug-in cannot do for its host. Such names are
// opened through their "\\?\" form, which has no such limit but is taken
// literally: it must already be full and normalised. Only Windows code and
// its tests include this.

#include <string>
#include <string_view>

namespace seedlens::platform {

// The name to open Path by: Path itself when shorter than MAX_PATH or
// already in the "\\?\" or "\\.\" form; otherwise its full, normalised form
// ("/" as "\", "." and ".." resolved) behind "\\?\" (a drive path) or
// "\\?\UNC\" (a "\\server\share" path). Path ends at its first zero unit.
std::u16string OpenableName(std::u16string_view Path);

}  // namespace seedlens::platform
