// Files through CreateFileW. Other programs may keep reading the torrent
// while we do (FILE_SHARE_READ); only files on disk are read. Long names
// are opened through their "\\?\" form; the caller keeps the name it gave.

#include <windows.h>

#include "platform/file_state_windows.h"
#include "platform/long_paths_windows.h"
#include "platform/read_only_file.h"
#include "platform/windows_text.h"

namespace seedlens::platform {

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::Open(std::u16string_view Path) {
    const std::u16string name = OpenableName(Path);
    HANDLE handle = CreateFileW(AsWide(name.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info)) {
        CloseHandle(handle);
        return nullptr;
    }
    return std::unique_ptr<ReadOnlyFile>(new ReadOnlyFile(
        reinterpret_cast<std::intptr_t>(handle), StateOf(info.nFileSizeHigh, info.nFileSizeLow, info.ftLastWriteTime)));
}

ReadOnlyFile::~ReadOnlyFile() { CloseHandle(reinterpret_cast<HANDLE>(FHandle)); }

std::int64_t ReadOnlyFile::Read(void* Buffer, std::size_t Count) {
    DWORD read = 0;
    const DWORD wanted = Count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(Count);
    if (!ReadFile(reinterpret_cast<HANDLE>(FHandle), Buffer, wanted, &read, nullptr)) return -1;
    return static_cast<std::int64_t>(read);
}

}  // namespace seedlens::platform
