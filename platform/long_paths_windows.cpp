#include "platform/long_paths_windows.h"

#include <windows.h>

#include "platform/windows_text.h"

namespace seedlens::platform {

namespace {

bool IsDevicePath(std::u16string_view Name) { return Name.starts_with(u"\\\\?\\") || Name.starts_with(u"\\\\.\\"); }

// Name made full and normalised the way Windows does before opening it;
// nothing when it cannot be.
std::u16string FullPath(const std::u16string& Name) {
    const DWORD needed = GetFullPathNameW(AsWide(Name.c_str()), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::u16string full(needed, u'\0');
    const DWORD length = GetFullPathNameW(AsWide(Name.c_str()), needed, AsWide(full.data()), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

}  // namespace

std::u16string OpenableName(std::u16string_view Path) {
    const std::u16string name(Path.substr(0, Path.find(u'\0')));
    if (name.size() < MAX_PATH || IsDevicePath(name)) return name;
    const std::u16string full = FullPath(name);
    if (full.empty()) return name;  // then CreateFileW gives the reason
    if (IsDevicePath(full)) return full;
    if (full.starts_with(u"\\\\")) return u"\\\\?\\UNC\\" + full.substr(2);
    return u"\\\\?\\" + full;
}

}  // namespace seedlens::platform
