// The exports that describe the fields. They only read the field table, which
// never changes after load, and cannot throw.

#include "plugin/content_plugin_api.h"
#include "plugin/copy_rule.h"
#include "plugin/plugin_library.h"

using namespace seedlens;

SEEDLENS_EXPORT void SEEDLENS_CALL ContentGetDetectString(char* DetectString, std::int32_t MaxLen) {
    CopyToHostBuffer<char>(kDetectString, DetectString, MaxLen);
}

SEEDLENS_EXPORT std::int32_t SEEDLENS_CALL ContentGetSupportedField(std::int32_t FieldIndex, char* FieldName,
                                                                    char* Units, std::int32_t MaxLen) {
    return Library().FieldTable().GetSupportedField(FieldIndex, FieldName, Units, MaxLen);
}

SEEDLENS_EXPORT std::int32_t SEEDLENS_CALL ContentGetDefaultSortOrder(std::int32_t FieldIndex) {
    return Library().FieldTable().GetSortOrder(FieldIndex);
}
