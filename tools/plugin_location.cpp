#include "tools/plugin_location.h"

#include <filesystem>
#include <system_error>

namespace seedlens::tool {

namespace fs = std::filesystem;

namespace {
std::string Utf8(const fs::path& Path) {
    const auto text = Path.u8string();
    return std::string(text.begin(), text.end());
}
}  // namespace

std::vector<std::string> DefaultPluginPlaces(const std::string& ExecutableFolder) {
    const fs::path folder = fs::u8path(ExecutableFolder);
    const fs::path installed = folder / ".." / "lib" / "seedlens" / "Seedlens.wdx";
    return {Utf8(folder / "Seedlens.wdx"), Utf8(installed.lexically_normal())};
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
    return path.has_parent_path() ? Given : Utf8(fs::path(".") / path);
}

}  // namespace seedlens::tool
