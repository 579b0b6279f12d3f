#pragma once
// A private copy of the built Seedlens.wdx, loaded as a host loads it, with
// its value exports; each copy starts with an empty cache.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/code_pages.h"
#include "platform/dynamic_library.h"
#include "plugin/content_plugin_api.h"

namespace seedlens::test {

class PluginModule {
public:
    using GetValueFn = host::GetValueFn;
    using GetValueWFn = host::GetValueWFn;

    explicit PluginModule(const std::filesystem::path& Folder) {
        static int copies = 0;
        const std::filesystem::path copy = Folder / ("Seedlens-copy-" + std::to_string(++copies) + ".wdx");
        std::filesystem::copy_file(SEEDLENS_WDX_PATH, copy);
        FLibrary = std::make_unique<platform::DynamicLibrary>(copy.string());
        GetValue = reinterpret_cast<GetValueFn>(FLibrary->Symbol("ContentGetValue"));
        GetValueW = reinterpret_cast<GetValueWFn>(FLibrary->Symbol("ContentGetValueW"));
    }

    // A text field through the wide export as UTF-8, or "(result N)" when
    // the answer is no text.
    std::string WideText(const std::string& Path, std::int32_t Field, std::int32_t MaxLen = 1 << 17) const {
        const std::u16string name = platform::Utf8ToUtf16(Path);
        std::u16string buffer(static_cast<std::size_t>(MaxLen) / 2 + 1, u'\0');
        const std::int32_t result = GetValueW(name.c_str(), Field, 0, buffer.data(), MaxLen, 0);
        if (result != 11) return "(result " + std::to_string(result) + ")";
        return platform::Utf16ToUtf8(buffer.c_str());
    }
    // The same through the 8-bit export.
    std::string NarrowText(const std::string& Path, std::int32_t Field, std::int32_t MaxLen = 1 << 17) const {
        const std::string name = platform::Utf16ToNarrow(platform::Utf8ToUtf16(Path));
        std::string buffer(static_cast<std::size_t>(MaxLen) + 1, '\0');
        const std::int32_t result = GetValue(name.c_str(), Field, 0, buffer.data(), MaxLen, 0);
        if (result != 8) return "(result " + std::to_string(result) + ")";
        return platform::Utf16ToUtf8(platform::NarrowToUtf16(buffer.c_str()));
    }

    GetValueFn GetValue = nullptr;
    GetValueWFn GetValueW = nullptr;

private:
    std::unique_ptr<platform::DynamicLibrary> FLibrary;
};

}  // namespace seedlens::test
