#pragma once
// The fields (columns) the plug-in offers the host.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace seedlens {

struct TField {
    std::string FieldName;
    std::int32_t FieldType;   // host type code: 1, 2, 6, 8 or 10
    std::int32_t FieldSort;   // 1 ascending, -1 descending
    std::string FieldUnits;   // "|"-separated, empty when the field has none
};

class TWdxPlugin {
public:
    void Add(std::string FieldName, std::int32_t FieldType, std::int32_t FieldSort, std::string FieldUnits);

    // Writes the row's name and units by the copy rule and answers its type
    // code, or 0 (and writes nothing) for an index outside the table.
    std::int32_t GetSupportedField(std::int32_t Index, char* FieldName, char* Units, std::int32_t MaxLen) const;
    // The row's type code; a text row answers 11 when Unicode is asked for.
    // 0 for an index outside the table.
    std::int32_t GetType(std::int32_t Index, bool Unicode) const;
    // 0 for an index outside the table.
    std::int32_t GetSortOrder(std::int32_t Index) const;

    const std::vector<TField>& Fields() const { return FFields; }

private:
    const TField* Row(std::int32_t Index) const;
    std::vector<TField> FFields;
};

// Field indexes, in table order.
enum FieldIndex : std::int32_t {
    fiName, fiFileCount, fiTotalSize, fiBlockSize, fiBlockCount, fiTracker, fiCreated,
    fiSha, fiComment, fiProgram, fiEncoding, fiPrivate, fiMultifile, fiErrors,
    fiSha256, fiMagnet, fiSource, fiFormat,
    fiFieldCount
};

// The plug-in's one field table, in the order the host numbers the fields.
TWdxPlugin BuildFieldTable();

// Tells the host which files the plug-in serves.
inline constexpr std::string_view kDetectString = "EXT=\"TORRENT\"";

}  // namespace seedlens
