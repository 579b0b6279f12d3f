#pragma once
// The host file manager's content plug-in interface, as Seedlens exports it.
// The host finds these functions by name; they take and return 32-bit
// integers and raw pointers to buffers the host owns.

#include <cstdint>

#if defined(_WIN32)
#define SEEDLENS_EXPORT extern "C" __declspec(dllexport)
#define SEEDLENS_CALL __stdcall
#else
#define SEEDLENS_EXPORT extern "C" __attribute__((visibility("default")))
#define SEEDLENS_CALL
#endif

namespace seedlens::host {

// Value types the host understands.
enum FieldTypeCode : std::int32_t {
    ftNoMoreFields = 0,
    ftNumeric32 = 1,
    ftNumeric64 = 2,
    ftBoolean = 6,
    ftString = 8,
    ftDateTime = 10,
    ftStringW = 11,
};

// Answers of the value calls besides a type code.
enum ValueResult : std::int32_t {
    ftNoValueNow = 0,  // no value can be given now, or loading failed
    ftFieldEmpty = -3,
};

// Bit of the value calls' flags: answer only if the value is at hand.
constexpr std::int32_t kFlagImmediateOnly = 1;

}  // namespace seedlens::host

SEEDLENS_EXPORT void SEEDLENS_CALL ContentGetDetectString(char* DetectString, std::int32_t MaxLen);
SEEDLENS_EXPORT std::int32_t SEEDLENS_CALL ContentGetSupportedField(std::int32_t FieldIndex, char* FieldName,
                                                                    char* Units, std::int32_t MaxLen);
SEEDLENS_EXPORT std::int32_t SEEDLENS_CALL ContentGetDefaultSortOrder(std::int32_t FieldIndex);
SEEDLENS_EXPORT std::int32_t SEEDLENS_CALL ContentGetValue(const char* FileName, std::int32_t FieldIndex,
                                                           std::int32_t UnitIndex, void* FieldValue,
                                                           std::int32_t MaxLen, std::int32_t Flags);
// MaxLen is the buffer's size in bytes, as hosts pass it to both calls.
SEEDLENS_EXPORT std::int32_t SEEDLENS_CALL ContentGetValueW(const char16_t* FileName, std::int32_t FieldIndex,
                                                            std::int32_t UnitIndex, void* FieldValue,
                                                            std::int32_t MaxLen, std::int32_t Flags);

namespace seedlens::host {

// The entry points as a host calls them, through the addresses it finds by
// name; on 32-bit Windows the type carries the calling convention.
using DetectStringFn = decltype(&ContentGetDetectString);
using SupportedFieldFn = decltype(&ContentGetSupportedField);
using SortOrderFn = decltype(&ContentGetDefaultSortOrder);
using GetValueFn = decltype(&ContentGetValue);
using GetValueWFn = decltype(&ContentGetValueW);

}  // namespace seedlens::host
