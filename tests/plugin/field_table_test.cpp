// The field table as the host sees it through TWdxPlugin.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/field_table.h"

namespace seedlens {
namespace {

struct Row {
    const char* Name;
    std::int32_t Type;
    std::int32_t Sort;
    const char* Units;
};

// The host numbers fields by their row; names and units are shown verbatim.
const Row kExpected[] = {
    {"Name", 8, 1, ""},
    {"File count", 1, -1, ""},
    {"Total Size", 2, -1, "bytes|kbytes|Mbytes|Gbytes"},
    {"Block Size", 2, -1, "bytes|kbytes|Mbytes"},
    {"Block Count", 1, -1, ""},
    {"Tracker", 8, 1, "Full|Host only"},
    {"Created", 10, -1, ""},
    {"SHA", 8, 1, ""},
    {"Comment", 8, 1, ""},
    {"Program", 8, 1, ""},
    {"Encoding", 8, 1, ""},
    {"Private", 6, 1, ""},
    {"Multifile", 6, 1, ""},
    {"Errors", 8, 1, ""},
    {"SHA-256", 8, 1, ""},
    {"Magnet", 8, 1, ""},
    {"Source", 8, 1, ""},
    {"Format", 8, 1, ""},
};

TEST(FieldTable, HoldsTheEighteenRowsInOrder) {
    const TWdxPlugin table = BuildFieldTable();
    ASSERT_EQ(table.Fields().size(), std::size(kExpected));
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(std::size(kExpected)); ++i) {
        SCOPED_TRACE(i);
        char name[64];
        char units[64];
        EXPECT_EQ(table.GetSupportedField(i, name, units, sizeof name), kExpected[i].Type);
        EXPECT_STREQ(name, kExpected[i].Name);
        EXPECT_STREQ(units, kExpected[i].Units);
        EXPECT_EQ(table.GetSortOrder(i), kExpected[i].Sort);
    }
}

TEST(FieldTable, OutsideTheTableNothingIsWritten) {
    const TWdxPlugin table = BuildFieldTable();
    for (std::int32_t index : {-1, 18, 1000, INT32_MIN, INT32_MAX}) {
        char name[8] = "keep";
        char units[8] = "keep";
        EXPECT_EQ(table.GetSupportedField(index, name, units, sizeof name), 0);
        EXPECT_STREQ(name, "keep");
        EXPECT_STREQ(units, "keep");
        EXPECT_EQ(table.GetType(index, true), 0);
        EXPECT_EQ(table.GetSortOrder(index), 0);
    }
}

TEST(FieldTable, CutsTextsToTheBuffer) {
    const TWdxPlugin table = BuildFieldTable();
    char name[8];
    char units[8];
    std::memset(name, 'x', sizeof name);
    std::memset(units, 'x', sizeof units);
    EXPECT_EQ(table.GetSupportedField(2, name, units, 5), 2);
    EXPECT_STREQ(name, "Tota");
    EXPECT_STREQ(units, "byte");
    EXPECT_EQ(name[5], 'x');  // nothing past MaxLen

    EXPECT_EQ(table.GetSupportedField(2, name, units, 1), 2);
    EXPECT_STREQ(name, "");
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(table.GetSupportedField(2, name, units, 0), 2);
    EXPECT_EQ(name[0], 'x');
    EXPECT_EQ(table.GetSupportedField(2, name, units, -5), 2);
    EXPECT_EQ(name[0], 'x');
}

TEST(FieldTable, TypeForTheWideCall) {
    const TWdxPlugin table = BuildFieldTable();
    struct { std::int32_t Index; bool Unicode; std::int32_t Type; } cases[] = {
        {6, true, 10}, {0, true, 11}, {0, false, 8}, {11, true, 6}, {13, true, 11}, {2, true, 2}, {1, false, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(table.GetType(c.Index, c.Unicode), c.Type) << c.Index;
}

}  // namespace
}  // namespace seedlens
