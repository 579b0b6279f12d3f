#pragma once
// Writing one field of a record into the host's value buffer.

#include <cstdint>
#include <optional>

#include "plugin/field_table.h"
#include "plugin/torrent_info.h"

namespace seedlens {

enum class TextWidth { Narrow, Wide };

// Writes field FieldIndex in unit UnitIndex and answers the field's type
// code; -3 (field empty) with nothing written for an empty value or a
// buffer that cannot hold it; 0 for a field or unit the table does not have.
std::int32_t WriteFieldValue(const TWdxPlugin& Table, const TTorrentInfo& Info, std::int32_t FieldIndex,
                             std::int32_t UnitIndex, void* FieldValue, std::int32_t MaxLen, TextWidth Width);

// The host's date layout: 100-nanosecond intervals since 1601-01-01 UTC.
// Nothing for no date (0) or one no file time can hold.
std::optional<std::uint64_t> DateTimeToFileTime(TDateTime Value);

}  // namespace seedlens
