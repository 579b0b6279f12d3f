#pragma once
// The "creation date" value (seconds since 1970-01-01 00:00 UTC) as a
// TDateTime in UTC.

#include <cstdint>

#include "torrent/torrent_file.h"

namespace seedlens {

// 0 (no date) when the count's date falls outside 1601-01-01 to
// 30827-12-31, the dates a Windows file time can hold.
TDateTime CreationDateToDateTime(std::int64_t Seconds);

// TDateTime counts days since this date.
inline constexpr int kDateTimeEpochYear = 1899;

}  // namespace seedlens
