#pragma once
// A content plug-in loaded at run time, called only through its exports,
// exactly as a host file manager calls it.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/dynamic_library.h"
#include "plugin/content_plugin_api.h"

namespace seedlens::tool {

// One answer of a value call: its result code and what it wrote.
struct FieldAnswer {
    std::int32_t Result = 0;  // type code, 0 (no value now) or -3 (empty)
    std::int64_t Integer = 0;  // numbers, booleans (-1 / 0), dates as a file time
    std::string Text;          // texts, as UTF-8
    bool Cut = false;          // the text was longer than the buffer asked with
};

// How large a buffer a text is asked with.
enum class TextBuffer {
    Host,   // a file manager's usual one, as a column shows it
    Whole,  // room for the longest text the plug-in keeps
};

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
    // std::runtime_error with the reason, without the path, when either fails.
    explicit LoadedPlugin(const std::string& Path);

    std::string DetectString() const;
    // The field at Index, or nothing past the end of the table.
    std::optional<FieldInfo> SupportedField(std::int32_t Index) const;

    // Asks for one field of the file at Path (UTF-8) through the wide call,
    // or the 8-bit call with Narrow. A text that fills a host's buffer is
    // asked for again whole, to tell whether it was cut.
    FieldAnswer Value(const std::string& Path, std::int32_t FieldIndex, std::int32_t UnitIndex, bool Narrow,
                      TextBuffer Buffer) const;

private:
    using DetectStringFn = host::DetectStringFn;
    using SupportedFieldFn = host::SupportedFieldFn;
    using SortOrderFn = host::SortOrderFn;
    using GetValueFn = host::GetValueFn;
    using GetValueWFn = host::GetValueWFn;

    template <typename Fn>
    Fn Entry(const char* Name) const;
    FieldAnswer Ask(const std::string& Path, std::int32_t FieldIndex, std::int32_t UnitIndex, bool Narrow,
                    std::int32_t Length) const;

    platform::DynamicLibrary FLibrary;
    DetectStringFn FDetectString;
    SupportedFieldFn FSupportedField;
    SortOrderFn FSortOrder;
    GetValueFn FGetValue;
    GetValueWFn FGetValueW;
    // Reused by every request: a whole-text buffer is large, and the tool
    // asks from one thread only.
    mutable std::u16string FWide;
    mutable std::string FNarrow;
};

}  // namespace seedlens::tool
