#include "tools/loaded_plugin.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/code_pages.h"
#include "platform/file_names.h"

namespace seedlens::tool {

namespace {
// Hosts hand the plug-in buffers of this many characters.
constexpr std::int32_t kHostBufferLength = 2048;
// The plug-in keeps at most 64 KiB of UTF-8 per text, and no UTF-8 byte
// becomes more than one UTF-16 unit or one 8-bit character: this holds any.
constexpr std::int32_t kWholeBufferLength = 64 * 1024 + 1;

constexpr std::int32_t kNarrowText = 8, kWideText = 11;

// The name the plug-in is given for a path named on the command line: on
// POSIX the path's bytes, whatever they are, travel losslessly.
std::u16string PluginName(const std::string& Path) { return platform::FileNameFromPathText(Path); }
}  // namespace

template <typename Fn>
Fn LoadedPlugin::Entry(const char* Name) const {
    void* address = FLibrary.Symbol(Name);
    if (address == nullptr) throw std::runtime_error(std::string("it does not export ") + Name);
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

FieldAnswer LoadedPlugin::Ask(const std::string& Path, std::int32_t FieldIndex, std::int32_t UnitIndex, bool Narrow,
                              std::int32_t Length) const {
    FieldAnswer answer;
    const auto size = static_cast<std::size_t>(Length);
    if (Narrow) {
        // The 8-bit call takes and gives the host's 8-bit text.
        const std::string name = platform::FileNameToNarrow(PluginName(Path));
        if (FNarrow.size() < size) FNarrow.resize(size);
        FNarrow[0] = '\0';
        answer.Result = FGetValue(name.c_str(), FieldIndex, UnitIndex, FNarrow.data(), Length, 0);
        if (answer.Result == kNarrowText) {
            const std::string_view text(FNarrow.c_str());
            // The plug-in stops before a character that does not fit: up to four bytes short.
            answer.Cut = text.size() + 4 >= size;
            answer.Text = platform::Utf16ToUtf8(platform::NarrowToUtf16(text));
        } else {
            std::memcpy(&answer.Integer, FNarrow.data(), sizeof answer.Integer);
        }
    } else {
        const std::u16string name = PluginName(Path);
        if (FWide.size() < size) FWide.resize(size);
        FWide[0] = u'\0';
        // Hosts give the wide call its buffer's size in bytes.
        const auto bytes = static_cast<std::int32_t>(size * sizeof(char16_t));
        answer.Result = FGetValueW(name.c_str(), FieldIndex, UnitIndex, FWide.data(), bytes, 0);
        if (answer.Result == kWideText) {
            const std::u16string_view text(FWide.c_str());
            // The plug-in stops before a pair that does not fit: one unit short.
            answer.Cut = text.size() + 2 >= size;
            answer.Text = platform::Utf16ToUtf8(text);
        } else {
            std::memcpy(&answer.Integer, FWide.data(), sizeof answer.Integer);
        }
    }
    // Integers are 32 bits wide for these codes; the rest of the buffer is not theirs.
    if (answer.Result == 1 || answer.Result == 6) answer.Integer = static_cast<std::int32_t>(answer.Integer);
    return answer;
}

FieldAnswer LoadedPlugin::Value(const std::string& Path, std::int32_t FieldIndex, std::int32_t UnitIndex, bool Narrow,
                                TextBuffer Buffer) const {
    FieldAnswer answer =
        Ask(Path, FieldIndex, UnitIndex, Narrow, Buffer == TextBuffer::Host ? kHostBufferLength : kWholeBufferLength);
    if (Buffer == TextBuffer::Host && answer.Cut) {
        // A text that just fills the buffer is whole: only a longer one was cut.
        const FieldAnswer whole = Ask(Path, FieldIndex, UnitIndex, Narrow, kWholeBufferLength);
        answer.Cut = whole.Result == answer.Result && whole.Text.size() > answer.Text.size();
    } else {
        answer.Cut = false;
    }
    return answer;
}

}  // namespace seedlens::tool
