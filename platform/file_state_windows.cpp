// A look by name through GetFileAttributesExW, on the name the file is
// opened by, so that long paths are looked at too.

#include <windows.h>

#include "platform/file_state.h"
#include "platform/file_state_windows.h"
#include "platform/long_paths_windows.h"
#include "platform/windows_text.h"

namespace seedlens::platform {

FileState StateOf(std::uint32_t SizeHigh, std::uint32_t SizeLow, const FILETIME& LastWrite) {
    return {.Size = static_cast<std::int64_t>((static_cast<std::uint64_t>(SizeHigh) << 32) | SizeLow),
            .Modified = static_cast<std::int64_t>((static_cast<std::uint64_t>(LastWrite.dwHighDateTime) << 32) |
                                                  LastWrite.dwLowDateTime)};
}

std::optional<FileState> LookAtFileState(std::u16string_view Path) {
    const std::u16string name = OpenableName(Path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(AsWide(name.c_str()), GetFileExInfoStandard, &data)) return std::nullopt;
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return std::nullopt;
    return StateOf(data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime);
}

std::uint64_t MonotonicMilliseconds() { return GetTickCount64(); }

}  // namespace seedlens::platform
