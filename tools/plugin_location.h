#pragma once
// Where seedlens finds the plug-in it loads.

#include <optional>
#include <string>
#include <vector>

#include "platform/dynamic_library.h"

namespace seedlens::tool {

struct PluginPlace {
    std::string Path;
    bool Only64Bit = false;  // a module there counts only if it is built for x64
};

// Where the plug-in is looked for when none is named, in order, as a host
// of Convention looks. POSIX: beside the executable (a build folder), then
// ../lib/seedlens/ (the installed layout). Windows: beside the executable
// only, under the names a host of the program's width loads.
std::vector<PluginPlace> DefaultPluginPlaces(const std::string& ExecutableFolder,
                                             platform::ModuleConvention Convention);

// The first of Places that holds a module it accepts.
std::optional<std::string> FirstUsable(const std::vector<PluginPlace>& Places);

// Why none of Places would do, naming each.
std::string NotFoundMessage(const std::vector<PluginPlace>& Places);

// Whether the file at Path is a Windows module for x64, as its PE header says.
bool IsX64Module(const std::string& Path);

// A path the loader takes as a file: a bare name would be looked up on the
// library search path, so it is made relative to the current folder.
std::string AsLoadablePath(const std::string& Given);

}  // namespace seedlens::tool
