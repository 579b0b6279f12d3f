// Dates and sizes as the command prints them.

#include <gtest/gtest.h>

#include "tools/value_format.h"

namespace seedlens::tool {
namespace {

constexpr std::int64_t k2016 = 130969423250000000;  // 2016-01-10T23:32:05Z

TEST(IsoDate, WholeSecondsAndFractionsOnlyWhenPresent) {
    const struct {
        std::int64_t FileTime;
        const char* Expected;
    } cases[] = {
        {0, "1601-01-01T00:00:00Z"},
        {116444736000000000, "1970-01-01T00:00:00Z"},
        {116444735990000000, "1969-12-31T23:59:59Z"},  // before 1970
        {94405392000000000, "1900-02-28T12:00:00Z"},
        {130317833010000000, "2013-12-17T19:48:21Z"},
        {k2016 + 910'000, "2016-01-10T23:32:05.091Z"},   // milliseconds
        {k2016 + 5'000'000, "2016-01-10T23:32:05.500Z"},
        {k2016 + 912'340, "2016-01-10T23:32:05.091234Z"},  // microseconds
        {k2016 + 1, "2016-01-10T23:32:05.0000001Z"},       // a file time's 100 ns
        {k2016 + 9'999'999, "2016-01-10T23:32:05.9999999Z"},
        {-10'000'000, "1600-12-31T23:59:59Z"},  // before the file-time epoch, floored
        {-1, "1600-12-31T23:59:59.9999999Z"},
    };
    for (const auto& c : cases) EXPECT_EQ(IsoDate(c.FileTime), c.Expected) << c.FileTime;
}

TEST(LocalDate, OffsetAndFraction) {
    const struct {
        platform::LocalTime Local;
        std::int64_t FileTime;
        const char* Expected;
    } cases[] = {
        {{2013, 12, 17, 20, 48, 21, 3600}, 130317833010000000, "2013-12-17 20:48:21 +01:00"},
        {{2013, 12, 17, 19, 48, 21, 0}, 130317833010000000, "2013-12-17 19:48:21 +00:00"},
        {{2013, 12, 17, 16, 18, 21, -12600}, 130317833010000000, "2013-12-17 16:18:21 -03:30"},
        {{2016, 1, 11, 0, 32, 5, 3600}, k2016 + 910'000, "2016-01-11 00:32:05.091 +01:00"},
        {{1900, 1, 1, 0, 19, 32, 1172}, 0, "1900-01-01 00:19:32 +00:19:32"},  // a local mean time
    };
    for (const auto& c : cases) EXPECT_EQ(LocalDate(c.Local, c.FileTime), c.Expected);
}

TEST(HumanSize, UnitChosenOnTheRoundedFigure) {
    const struct {
        std::int64_t Bytes;
        const char* Expected;
    } cases[] = {
        {0, "0 B"},
        {1023, "1023 B"},
        {1024, "1.0 KiB"},
        {1048524, "1023.9 KiB"},
        {1048525, "1.0 MiB"},  // 1023.95 KiB would print as 1024.0 KiB
        {1048575, "1.0 MiB"},
        {734003200, "700.0 MiB"},
        {(std::int64_t{1} << 40) - 1, "1.0 TiB"},
        {INT64_MAX, "8.0 EiB"},
        {-2048, "-2.0 KiB"},
    };
    for (const auto& c : cases) EXPECT_EQ(HumanSize(c.Bytes), c.Expected) << c.Bytes;
}

TEST(JsonString, ControlsAndStrayBytesAreEscaped) {
    const struct {
        std::string_view Raw;
        const char* Json;
    } cases[] = {
        {"plain \"q\" \\", R"("plain \"q\" \\")"},
        {std::string_view("\x1b]0;t\x07\0\x7f", 8), R"("\u001b]0;t\u0007\u0000\u007f")"},
        {"a\tb\nc\rd", R"("a\tb\nc\rd")"},
        {"\xc2\x80\xc2\x9b" "31m\xc2\x9f\xc2\xa0", "\"\\u0080\\u009b31m\\u009f\xc2\xa0\""},  // C1; U+00A0 is none
        {"a\xe2\x80\xa8" "b\xe2\x80\xa9" "c\xe2\x80\xaa", "\"a\\u2028b\\u2029c\xe2\x80\xaa\""},
        {"caf\xc3\xa9 \xf0\x9f\x8e\xb5", "\"caf\xc3\xa9 \xf0\x9f\x8e\xb5\""},
        // Bytes outside UTF-8: Latin-1, the ends of the range, an encoded surrogate, a cut sequence.
        {"caf\xe9.torrent", R"("caf\udce9.torrent")"},
        {"\x80\xff", R"("\udc80\udcff")"},
        {"\xed\xb0\x80", R"("\udced\udcb0\udc80")"},
        {"\xc3\xa9\xc3", "\"\xc3\xa9\\udcc3\""},
    };
    for (const auto& c : cases) EXPECT_EQ(JsonString(c.Raw), c.Json) << c.Json;
}

}  // namespace
}  // namespace seedlens::tool
