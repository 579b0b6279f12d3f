#pragma once
// Proleptic Gregorian calendar arithmetic on day counts since 1970-01-01,
// exact for every year that fits. Pure code.

#include <cstdint>

namespace seedlens::platform {

struct CivilDate {
    std::int64_t Year;
    unsigned Month;  // 1 to 12
    unsigned Day;    // 1 to 31
};

constexpr std::int64_t DaysFromCivil(std::int64_t Year, unsigned Month, unsigned Day) {
    Year -= Month <= 2 ? 1 : 0;
    const std::int64_t era = (Year >= 0 ? Year : Year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(Year - era * 400);
    const unsigned dayOfYear = (153 * (Month > 2 ? Month - 3 : Month + 9) + 2) / 5 + Day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

constexpr CivilDate CivilFromDays(std::int64_t Days) {
    Days += 719468;
    const std::int64_t era = (Days >= 0 ? Days : Days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(Days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace seedlens::platform
