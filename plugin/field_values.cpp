#include "plugin/field_values.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/civil_calendar.h"
#include "platform/file_time.h"
#include "plugin/content_plugin_api.h"
#include "plugin/host_text.h"
#include "torrent/magnet_link.h"

namespace seedlens {

namespace {

using host::ftFieldEmpty;

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
constexpr std::int64_t kDateTimeEpochDay = platform::DaysFromCivil(1899, 12, 30);
// Dates a file time can hold, as TDateTime days: 1601-01-01 to 30828-01-01.
constexpr double kFirstDateTime = static_cast<double>(platform::DaysFromCivil(1601, 1, 1) - kDateTimeEpochDay);
constexpr double kEndDateTime = static_cast<double>(platform::DaysFromCivil(30828, 1, 1) - kDateTimeEpochDay);

// How many units each field offers; every other field has just one.
std::int32_t UnitCount(std::int32_t FieldIndex) {
    switch (FieldIndex) {
        case fiTotalSize: return 4;
        case fiBlockSize: return 3;
        case fiTracker: return 2;
        default: return 1;
    }
}

// Bytes, kbytes, Mbytes, Gbytes: signed division that truncates toward zero.
std::int64_t Scaled(std::int64_t Bytes, std::int32_t UnitIndex) {
    return Bytes / (std::int64_t{1} << (10 * UnitIndex));
}

template <typename T>
void Store(void* FieldValue, T Value) {
    std::memcpy(FieldValue, &Value, sizeof Value);
}

}  // namespace

std::optional<std::uint64_t> DateTimeToFileTime(TDateTime Value) {
    if (Value == 0 || !std::isfinite(Value) || Value < kFirstDateTime || Value >= kEndDateTime) return std::nullopt;
    // To the nearest millisecond, then days by floor so that dates before
    // 1899-12-30 split the same linear way they were made.
    const auto milliseconds = static_cast<std::int64_t>(std::llround(Value * static_cast<double>(kMillisecondsPerDay)));
    std::int64_t days = milliseconds / kMillisecondsPerDay;
    std::int64_t ofDay = milliseconds % kMillisecondsPerDay;
    if (ofDay < 0) {
        --days;
        ofDay += kMillisecondsPerDay;
    }
    const platform::CivilDate date = platform::CivilFromDays(days + kDateTimeEpochDay);
    platform::CalendarTime time{};
    time.Year = static_cast<int>(date.Year);
    time.Month = static_cast<int>(date.Month);
    time.Day = static_cast<int>(date.Day);
    time.Milliseconds = static_cast<int>(ofDay % 1000);
    time.Second = static_cast<int>(ofDay / 1000 % 60);
    time.Minute = static_cast<int>(ofDay / 60'000 % 60);
    time.Hour = static_cast<int>(ofDay / 3'600'000);
    return platform::CalendarToFileTime(time);
}

std::int32_t WriteFieldValue(const TWdxPlugin& Table, const TTorrentInfo& Info, std::int32_t FieldIndex,
                             std::int32_t UnitIndex, void* FieldValue, std::int32_t MaxLen, TextWidth Width) {
    if (FieldIndex < 0 || FieldIndex >= fiFieldCount || UnitIndex < 0 || UnitIndex >= UnitCount(FieldIndex))
        return host::ftNoMoreFields;
    if (FieldValue == nullptr) return ftFieldEmpty;
    const std::int32_t type = Table.GetType(FieldIndex, Width == TextWidth::Wide);

    const auto text = [&](std::string_view Utf8) {
        const bool written = Width == TextWidth::Wide ? WriteWideText(Utf8, FieldValue, MaxLen)
                                                      : WriteNarrowText(Utf8, FieldValue, MaxLen);
        return written ? type : ftFieldEmpty;
    };
    // The fields after the first fourteen say "empty" for an empty text.
    const auto textOrEmpty = [&](std::string_view Utf8) { return Utf8.empty() ? ftFieldEmpty : text(Utf8); };
    const auto boolean = [&](std::int32_t Flag) {
        Store<std::int32_t>(FieldValue, Flag == 1 ? -1 : 0);
        return type;
    };

    switch (FieldIndex) {
        case fiName: return text(Info.Name());
        case fiFileCount: Store(FieldValue, Info.FileCount); return type;
        case fiTotalSize:
            // The wide call shows an empty size as empty; the 8-bit one as 0.
            if (Info.TotalSize == 0 && Width == TextWidth::Wide) return ftFieldEmpty;
            Store(FieldValue, Scaled(Info.TotalSize, UnitIndex));
            return type;
        case fiBlockSize:
            if (Info.BlockSize == 0) return ftFieldEmpty;
            Store(FieldValue, Scaled(Info.BlockSize, UnitIndex));
            return type;
        case fiBlockCount: Store(FieldValue, Info.BlockCount); return type;
        case fiTracker: return text(UnitIndex == 0 ? Info.FirstTracker() : Info.TrackerShort());
        case fiCreated: {
            const auto fileTime = DateTimeToFileTime(Info.Created);
            if (!fileTime) return ftFieldEmpty;
            // Low 32 bits first, then high: a little-endian 64-bit value.
            Store(FieldValue, static_cast<std::uint32_t>(*fileTime));
            Store(static_cast<char*>(FieldValue) + 4, static_cast<std::uint32_t>(*fileTime >> 32));
            return type;
        }
        case fiSha: return text(Info.Hash());
        case fiComment: return text(Info.Comment());
        case fiProgram: return text(Info.Creator());
        case fiEncoding: return text(Info.Encoding());
        case fiPrivate: return boolean(Info.PrivateTorrent);
        case fiMultifile: return boolean(Info.Multifile);
        case fiErrors: return text(Info.ErrorString());
        case fiSha256: return textOrEmpty(Info.Sha256());
        case fiMagnet: {
            // Whole parameters or nothing; the link is ASCII, one unit a byte.
            const std::int32_t units = Width == TextWidth::Wide ? MaxLen / 2 : MaxLen;
            if (units < 1) return ftFieldEmpty;
            const std::size_t fits = MagnetPrefix(Info.Magnet(), static_cast<std::size_t>(units - 1));
            return textOrEmpty(Info.Magnet().substr(0, fits));
        }
        case fiSource: return textOrEmpty(Info.Source());
        case fiFormat: return textOrEmpty(Info.Format());
        default: return host::ftNoMoreFields;
    }
}

}  // namespace seedlens
