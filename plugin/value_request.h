#pragma once
// One value request, as both value exports make it.

#include <cstdint>
#include <string_view>

#include "plugin/field_values.h"
#include "plugin/plugin_library.h"

namespace seedlens {

// Finds or loads FileName's record and writes the field. 0 when there is no
// record (a failed load, or a miss with the immediate-only flag).
std::int32_t RequestValue(PluginLibrary& Library, std::u16string_view FileName, std::int32_t FieldIndex,
                          std::int32_t UnitIndex, void* FieldValue, std::int32_t MaxLen, std::int32_t Flags,
                          TextWidth Width);

}  // namespace seedlens
