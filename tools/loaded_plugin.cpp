#include "tools/loaded_plugin.h"

#include <stdexcept>

namespace seedlens::tool {

namespace {
// Hosts hand the plug-in buffers of this many characters.
constexpr std::int32_t kHostBufferLength = 2048;
}  // namespace

template <typename Fn>
Fn LoadedPlugin::Entry(const char* Name) const {
    void* address = FLibrary.Symbol(Name);
    if (address == nullptr) throw std::runtime_error(std::string("the plug-in does not export ") + Name);
    return reinterpret_cast<Fn>(address);
}

LoadedPlugin::LoadedPlugin(const std::string& Path)
    : FLibrary(Path),
      FDetectString(Entry<DetectStringFn>("ContentGetDetectString")),
      FSupportedField(Entry<SupportedFieldFn>("ContentGetSupportedField")),
      FSortOrder(Entry<SortOrderFn>("ContentGetDefaultSortOrder")) {}

std::string LoadedPlugin::DetectString() const {
    std::string buffer(kHostBufferLength, '\0');
    FDetectString(buffer.data(), kHostBufferLength);
    buffer.resize(buffer.find('\0'));
    return buffer;
}

std::optional<FieldInfo> LoadedPlugin::SupportedField(std::int32_t Index) const {
    std::string name(kHostBufferLength, '\0');
    std::string units(kHostBufferLength, '\0');
    const std::int32_t type = FSupportedField(Index, name.data(), units.data(), kHostBufferLength);
    if (type == 0) return std::nullopt;
    name.resize(name.find('\0'));
    units.resize(units.find('\0'));
    return FieldInfo{Index, std::move(name), std::move(units), type, FSortOrder(Index)};
}

std::string DefaultPluginPath() { return platform::ExecutableDirectory() + "/Seedlens.wdx"; }

}  // namespace seedlens::tool
