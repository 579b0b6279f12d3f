#pragma once
// A content plug-in loaded at run time, called only through its exports,
// exactly as a host file manager calls it.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dynamic_library.h"

namespace seedlens::tool {

struct FieldInfo {
    std::int32_t Index;
    std::string Name;
    std::string Units;  // "|"-separated, empty when none
    std::int32_t Type;
    std::int32_t Sort;
};

class LoadedPlugin {
public:
    // Loads the plug-in at Path and finds its entry points; throws
    // std::runtime_error when either fails.
    explicit LoadedPlugin(const std::string& Path);

    std::string DetectString() const;
    // The field at Index, or nothing past the end of the table.
    std::optional<FieldInfo> SupportedField(std::int32_t Index) const;

private:
    using DetectStringFn = void (*)(char*, std::int32_t);
    using SupportedFieldFn = std::int32_t (*)(std::int32_t, char*, char*, std::int32_t);
    using SortOrderFn = std::int32_t (*)(std::int32_t);

    template <typename Fn>
    Fn Entry(const char* Name) const;

    platform::DynamicLibrary FLibrary;
    DetectStringFn FDetectString;
    SupportedFieldFn FSupportedField;
    SortOrderFn FSortOrder;
};

// The plug-in built beside the running executable.
std::string DefaultPluginPath();

}  // namespace seedlens::tool
