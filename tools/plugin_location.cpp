#include "tools/plugin_location.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "tools/path_text.h"

namespace seedlens::tool {

namespace fs = std::filesystem;
using platform::ModuleConvention;

namespace {

constexpr std::uint16_t kMachineAmd64 = 0x8664;

std::uint32_t LittleEndian(const unsigned char* Bytes, int Count) {
    std::uint32_t value = 0;
    for (int i = Count - 1; i >= 0; --i) value = value << 8 | Bytes[i];
    return value;
}

}  // namespace

std::vector<PluginPlace> DefaultPluginPlaces(const std::string& ExecutableFolder, ModuleConvention Convention) {
    const fs::path folder = fs::u8path(ExecutableFolder);
    switch (Convention) {
        case ModuleConvention::Windows64:
            return {{PathText(folder / "Seedlens.wdx64")}, {PathText(folder / "Seedlens.wdx"), true}};
        case ModuleConvention::Windows32: return {{PathText(folder / "Seedlens.wdx")}};
        case ModuleConvention::Posix: break;
    }
    const fs::path installed = folder / ".." / "lib" / "seedlens" / "Seedlens.wdx";
    return {{PathText(folder / "Seedlens.wdx")}, {PathText(installed.lexically_normal())}};
}

std::optional<std::string> FirstUsable(const std::vector<PluginPlace>& Places) {
    for (const PluginPlace& place : Places) {
        std::error_code error;
        if (!fs::exists(fs::u8path(place.Path), error)) continue;
        if (!place.Only64Bit || IsX64Module(place.Path)) return place.Path;
    }
    return std::nullopt;
}

std::string NotFoundMessage(const std::vector<PluginPlace>& Places) {
    const auto named = [](const PluginPlace& Place) { return (Place.Only64Bit ? "a 64-bit " : "") + Place.Path; };
    std::string where;
    if (Places.size() == 1) {
        where = named(Places.front()) + " does not exist";
    } else {
        where = "neither " + named(Places.front());
        for (std::size_t i = 1; i < Places.size(); ++i) where += " nor " + named(Places[i]);
        where += " exists";
    }
    return "no plug-in found: " + where + " (name one with --plugin)";
}

bool IsX64Module(const std::string& Path) {
    // The DOS header's last field is where the PE header starts; its
    // signature is followed by the machine the module is built for.
    std::ifstream file(fs::u8path(Path), std::ios::binary);
    std::array<unsigned char, 64> dos{};
    if (!file.read(reinterpret_cast<char*>(dos.data()), dos.size()) || dos[0] != 'M' || dos[1] != 'Z') return false;
    std::array<unsigned char, 6> pe{};
    if (!file.seekg(LittleEndian(&dos[60], 4)) || !file.read(reinterpret_cast<char*>(pe.data()), pe.size())) {
        return false;
    }
    return std::memcmp(pe.data(), "PE\0\0", 4) == 0 && LittleEndian(&pe[4], 2) == kMachineAmd64;
}

std::string AsLoadablePath(const std::string& Given) {
    const fs::path path = fs::u8path(Given);
    return path.has_parent_path() ? Given : PathText(fs::path(".") / path);
}

}  // namespace seedlens::tool
