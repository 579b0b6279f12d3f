#include "tools/loaded_plugin.h"

#include <cstring>
#include <stdexcept>

#include "platform/code_pages.h"
#include "platform/file_names.h"

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
      FSortOrder(Entry<SortOrderFn>("ContentGetDefaultSortOrder")),
      FGetValue(Entry<GetValueFn>("ContentGetValue")),
      FGetValueW(Entry<GetValueWFn>("ContentGetValueW")) {}

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

FieldAnswer LoadedPlugin::Value(const std::string& Path, std::int32_t FieldIndex, std::int32_t UnitIndex,
                                bool Narrow) const {
    FieldAnswer answer;
    if (Narrow) {
        // The 8-bit call takes and gives the host's 8-bit text.
        const std::string name = platform::FileNameToNarrow(platform::FileNameFromPathText(Path));
        std::string buffer(kHostBufferLength, '\0');
        answer.Result = FGetValue(name.c_str(), FieldIndex, UnitIndex, buffer.data(), kHostBufferLength, 0);
        if (answer.Result == 8) answer.Text = platform::Utf16ToUtf8(platform::NarrowToUtf16(buffer.c_str()));
        else std::memcpy(&answer.Integer, buffer.data(), sizeof answer.Integer);
    } else {
        const std::u16string name = platform::FileNameFromPathText(Path);
        std::u16string buffer(kHostBufferLength, u'\0');
        // Hosts give the wide call its buffer's size in bytes.
        const auto bytes = static_cast<std::int32_t>(buffer.size() * sizeof(char16_t));
        answer.Result = FGetValueW(name.c_str(), FieldIndex, UnitIndex, buffer.data(), bytes, 0);
        if (answer.Result == 11) answer.Text = platform::Utf16ToUtf8(buffer.c_str());
        else std::memcpy(&answer.Integer, buffer.data(), sizeof answer.Integer);
    }
    // Integers are 32 bits wide for these codes; the rest of the buffer is not theirs.
    if (answer.Result == 1 || answer.Result == 6) answer.Integer = static_cast<std::int32_t>(answer.Integer);
    return answer;
}

std::string DefaultPluginPath() { return platform::ExecutableDirectory() + "/Seedlens.wdx"; }

}  // namespace seedlens::tool
