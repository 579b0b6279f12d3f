#pragma once
// Loading a shared library at run time and finding its functions by name,
// the way a host file manager loads a plug-in.

#include <memory>
#include <string>

namespace seedlens::platform {

class DynamicLibrary {
public:
    // Loads the library at Path (UTF-8). Throws std::runtime_error with the
    // system's reason, without the path, when it cannot be loaded.
    explicit DynamicLibrary(const std::string& Path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of an exported symbol, or nullptr.
    void* Symbol(const char* Name) const;

private:
    void* FHandle = nullptr;
};

// How hosts on this system name a plug-in's module and where they look for it.
enum class ModuleConvention {
    Posix,      // NAME.wdx beside the host, or in its private library folder
    Windows32,  // NAME.wdx beside the host
    Windows64,  // NAME.wdx64 beside the host, else NAME.wdx if that is a 64-bit module
};

// The convention this program follows as a host.
ModuleConvention HostModuleConvention();

// Folder of the running executable (UTF-8), without a trailing separator.
std::string ExecutableDirectory();

}  // namespace seedlens::platform
