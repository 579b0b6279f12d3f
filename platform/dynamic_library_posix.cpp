#include <dlfcn.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "platform/dynamic_library.h"

namespace seedlens::platform {

DynamicLibrary::DynamicLibrary(const std::string& Path) {
    FHandle = dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (FHandle == nullptr) {
        // dlerror() starts with the path; the caller names it already.
        const char* error = dlerror();
        std::string reason = error != nullptr ? error : "cannot be loaded";
        if (reason.starts_with(Path + ": ")) reason.erase(0, Path.size() + 2);
        throw std::runtime_error(reason);
    }
}

DynamicLibrary::~DynamicLibrary() {
    if (FHandle != nullptr) dlclose(FHandle);
}

void* DynamicLibrary::Symbol(const char* Name) const { return dlsym(FHandle, Name); }

ModuleConvention HostModuleConvention() { return ModuleConvention::Posix; }

std::string ExecutableDirectory() {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0) return ".";
    path.resize(static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace seedlens::platform
