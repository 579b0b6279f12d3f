#include "tools/plugin_location.h"

#include <filesystem>
#include <system_error>

#include "tools/path_text.h"

namespace seedlens::tool {

namespace fs = std::filesystem;

std::vector<std::string> DefaultPluginPlaces(const std::string& ExecutableFolder) {
    const fs::path folder = fs::u8path(ExecutableFolder);
    const fs::path installed = folder / ".." / "lib" / "seedlens" / "Seedlens.wdx";
    return {PathText(folder / "Seedlens.wdx"), PathText(installed.lexically_normal())};
}

std::optional<std::string> FirstExisting(const std::vector<std::string>& Places) {
    for (const std::string& place : Places) {
        std::error_code error;
        if (fs::exists(fs::u8path(place), error)) return place;
    }
    return std::nullopt;
}

std::string AsLoadablePath(const std::string& Given) {
    const fs::path path = fs::u8path(Given);
    return path.has_parent_path() ? Given : PathText(fs::path(".") / path);
}

}  // namespace seedlens::tool
