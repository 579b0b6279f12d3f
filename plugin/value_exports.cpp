// The value exports. Nothing thrown inside ever reaches the host: every
// failure becomes the answer 0.

#include <string>

#include "platform/file_names.h"
#include "plugin/content_plugin_api.h"
#include "plugin/value_request.h"

using namespace seedlens;

SEEDLENS_EXPORT std::int32_t SEEDLENS_CALL ContentGetValue(const char* FileName, std::int32_t FieldIndex,
                                                           std::int32_t UnitIndex, void* FieldValue,
                                                           std::int32_t MaxLen, std::int32_t Flags) {
    if (FileName == nullptr) return host::ftNoValueNow;
    try {
        return RequestValue(Library(), platform::FileNameFromNarrow(FileName), FieldIndex, UnitIndex, FieldValue, MaxLen,
                            Flags, TextWidth::Narrow);
    } catch (...) {
        return host::ftNoValueNow;
    }
}

SEEDLENS_EXPORT std::int32_t SEEDLENS_CALL ContentGetValueW(const char16_t* FileName, std::int32_t FieldIndex,
                                                            std::int32_t UnitIndex, void* FieldValue,
                                                            std::int32_t MaxLen, std::int32_t Flags) {
    if (FileName == nullptr) return host::ftNoValueNow;
    try {
        return RequestValue(Library(), FileName, FieldIndex, UnitIndex, FieldValue, MaxLen, Flags, TextWidth::Wide);
    } catch (...) {
        return host::ftNoValueNow;
    }
}
