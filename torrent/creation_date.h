#pragma once
// The "creation date" value (seconds since 1970-01-01 00:00 UTC, or
// milliseconds as some creators write it) as a TDateTime in UTC.

#include <cstdint>

#include "torrent/torrent_file.h"

namespace seedlens {

// Seconds when their date falls inside 1601-01-01 to 30827-12-31, the
// dates a Windows file time can hold; otherwise milliseconds when theirs
// does; otherwise 0 (no date).
TDateTime CreationDateToDateTime(std::int64_t Value);

// TDateTime counts days since this date.
inline constexpr int kDateTimeEpochYear = 1899;

}  // namespace seedlens
