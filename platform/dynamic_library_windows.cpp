#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "platform/system_message_windows.h"
#include "platform/windows_text.h"

namespace seedlens::platform {

DynamicLibrary::DynamicLibrary(const std::string& Path) {
    const std::u16string name = Utf8ToUtf16(Path);
    FHandle = reinterpret_cast<void*>(LoadLibraryW(AsWide(name.c_str())));
    if (FHandle == nullptr) throw std::runtime_error(SystemMessage(GetLastError()));
}

DynamicLibrary::~DynamicLibrary() {
    if (FHandle != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(FHandle));
}

void* DynamicLibrary::Symbol(const char* Name) const {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(FHandle), Name));
}

ModuleConvention HostModuleConvention() {
    return sizeof(void*) == 8 ? ModuleConvention::Windows64 : ModuleConvention::Windows32;
}

std::string ExecutableDirectory() {
    std::u16string path(32768, u'\0');
    const DWORD n = GetModuleFileNameW(nullptr, AsWide(path.data()), static_cast<DWORD>(path.size()));
    path.resize(n);
    const auto slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? "." : Utf16ToUtf8(path.substr(0, slash));
}

}  // namespace seedlens::platform
