#include "plugin/field_table.h"

#include "plugin/content_plugin_api.h"
#include "plugin/copy_rule.h"

namespace seedlens {

void TWdxPlugin::Add(std::string FieldName, std::int32_t FieldType, std::int32_t FieldSort,
                     std::string FieldUnits) {
    FFields.push_back({std::move(FieldName), FieldType, FieldSort, std::move(FieldUnits)});
}

const TField* TWdxPlugin::Row(std::int32_t Index) const {
    if (Index < 0 || static_cast<std::size_t>(Index) >= FFields.size()) return nullptr;
    return &FFields[static_cast<std::size_t>(Index)];
}

std::int32_t TWdxPlugin::GetSupportedField(std::int32_t Index, char* FieldName, char* Units,
                                           std::int32_t MaxLen) const {
    const TField* row = Row(Index);
    if (row == nullptr) return host::ftNoMoreFields;
    CopyToHostBuffer<char>(row->FieldName, FieldName, MaxLen);
    CopyToHostBuffer<char>(row->FieldUnits, Units, MaxLen);
    return row->FieldType;
}

std::int32_t TWdxPlugin::GetType(std::int32_t Index, bool Unicode) const {
    const TField* row = Row(Index);
    if (row == nullptr) return 0;
    if (Unicode && row->FieldType == host::ftString) return host::ftStringW;
    return row->FieldType;
}

std::int32_t TWdxPlugin::GetSortOrder(std::int32_t Index) const {
    const TField* row = Row(Index);
    return row == nullptr ? 0 : row->FieldSort;
}

TWdxPlugin BuildFieldTable() {
    using namespace host;
    TWdxPlugin table;
    table.Add("Name", ftString, 1, "");
    table.Add("File count", ftNumeric32, -1, "");
    table.Add("Total Size", ftNumeric64, -1, "bytes|kbytes|Mbytes|Gbytes");
    table.Add("Block Size", ftNumeric64, -1, "bytes|kbytes|Mbytes");
    table.Add("Block Count", ftNumeric32, -1, "");
    table.Add("Tracker", ftString, 1, "Full|Host only");
    table.Add("Created", ftDateTime, -1, "");
    table.Add("SHA", ftString, 1, "");
    table.Add("Comment", ftString, 1, "");
    table.Add("Program", ftString, 1, "");
    table.Add("Encoding", ftString, 1, "");
    table.Add("Private", ftBoolean, 1, "");
    table.Add("Multifile", ftBoolean, 1, "");
    table.Add("Errors", ftString, 1, "");
    // Added after the first fourteen, so that a host's columns keep their numbers.
    table.Add("SHA-256", ftString, 1, "");
    table.Add("Magnet", ftString, 1, "");
    table.Add("Source", ftString, 1, "");
    table.Add("Format", ftString, 1, "");
    return table;
}

}  // namespace seedlens
