#include <windows.h>

#include "platform/code_pages.h"
#include "platform/path_look.h"
#include "platform/system_message_windows.h"
#include "platform/windows_text.h"

namespace seedlens::platform {

namespace {
PathLook Failed(DWORD Error) {
    if (Error == ERROR_FILE_NOT_FOUND || Error == ERROR_PATH_NOT_FOUND || Error == ERROR_INVALID_NAME)
        return {PathKind::Missing, 0, {}};
    if (Error == ERROR_ACCESS_DENIED) return {PathKind::AccessDenied, 0, {}};
    return {PathKind::Unreadable, 0, SystemMessage(Error)};
}
}  // namespace

PathLook LookAtPath(const std::string& Path) {
    const std::u16string name = Utf8ToUtf16(Path);
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(AsWide(name.c_str()), GetFileExInfoStandard, &attributes)) return Failed(GetLastError());
    if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {PathKind::Folder, 0, {}};
    // Opened as the plug-in opens it, so a file another program holds fails here too.
    HANDLE handle = CreateFileW(AsWide(name.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Failed(GetLastError());
    const bool onDisk = GetFileType(handle) == FILE_TYPE_DISK;
    CloseHandle(handle);
    if (!onDisk) return {PathKind::NotRegular, 0, {}};
    const auto size = (static_cast<std::int64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    return {PathKind::Regular, size, {}};
}

}  // namespace seedlens::platform
