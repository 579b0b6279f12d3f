#pragma once
// Where seedlens finds the plug-in it loads.

#include <optional>
#include <string>
#include <vector>

namespace seedlens::tool {

// Where the plug-in is looked for when none is named, in order: beside the
// executable (a build folder), then ../lib/seedlens/ (the installed layout).
std::vector<std::string> DefaultPluginPlaces(const std::string& ExecutableFolder);

// The first of Places that exists.
std::optional<std::string> FirstExisting(const std::vector<std::string>& Places);

// A path the loader takes as a file: a bare name would be looked up on the
// library search path, so it is made relative to the current folder.
std::string AsLoadablePath(const std::string& Given);

}  // namespace seedlens::tool
