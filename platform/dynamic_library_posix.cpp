#include <dlfcn.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "platform/dynamic_library.h"

namespace seedlens::platform {

DynamicLibrary::DynamicLibrary(const std::string& Path) {
    FHandle = dlopen(Path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (FHandle == nullptr) {
        const char* reason = dlerror();
        throw std::runtime_error(reason != nullptr ? reason : "cannot load " + Path);
    }
}

DynamicLibrary::~DynamicLibrary() {
    if (FHandle != nullptr) dlclose(FHandle);
}

void* DynamicLibrary::Symbol(const char* Name) const { return dlsym(FHandle, Name); }

std::string ExecutableDirectory() {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0) return ".";
    path.resize(static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace seedlens::platform
