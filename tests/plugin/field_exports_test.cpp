// The built Seedlens.wdx, loaded at run time and called by name as a host
// does.

#include <gtest/gtest.h>

#include <cstring>

#include "plugin/content_plugin_api.h"
#include "tools/loaded_plugin.h"

namespace seedlens {
namespace {

using seedlens::host::DetectStringFn;
using seedlens::host::SupportedFieldFn;
using seedlens::host::SortOrderFn;

class FieldExports : public testing::Test {
protected:
    platform::DynamicLibrary Library{SEEDLENS_WDX_PATH};
    DetectStringFn DetectString = reinterpret_cast<DetectStringFn>(Library.Symbol("ContentGetDetectString"));
    SupportedFieldFn SupportedField =
        reinterpret_cast<SupportedFieldFn>(Library.Symbol("ContentGetSupportedField"));
    SortOrderFn SortOrder = reinterpret_cast<SortOrderFn>(Library.Symbol("ContentGetDefaultSortOrder"));
};

TEST_F(FieldExports, DetectStringFollowsTheCopyRule) {
    ASSERT_NE(DetectString, nullptr);
    char buffer[32];
    for (std::int32_t maxLen : {14, 15, 32}) {
        std::memset(buffer, 'x', sizeof buffer);
        DetectString(buffer, maxLen);
        EXPECT_STREQ(buffer, "EXT=\"TORRENT\"");
    }
    std::memset(buffer, 'x', sizeof buffer);
    DetectString(buffer, 5);
    EXPECT_STREQ(buffer, "EXT=");
    EXPECT_EQ(buffer[5], 'x');
    std::memset(buffer, 'x', sizeof buffer);
    DetectString(buffer, 0);
    EXPECT_EQ(buffer[0], 'x');
    DetectString(nullptr, 14);  // must not crash
}

TEST_F(FieldExports, EnumeratesEighteenFieldsThenStops) {
    ASSERT_NE(SupportedField, nullptr);
    char name[256];
    char units[256];
    std::int32_t count = 0;
    while (SupportedField(count, name, units, sizeof name) != 0) ++count;
    EXPECT_EQ(count, 18);
    EXPECT_EQ(SupportedField(2, name, units, sizeof name), 2);
    EXPECT_STREQ(name, "Total Size");
    EXPECT_STREQ(units, "bytes|kbytes|Mbytes|Gbytes");
    EXPECT_EQ(SupportedField(0, name, units, sizeof name), 8);
    EXPECT_STREQ(name, "Name");
    EXPECT_STREQ(units, "");
    EXPECT_EQ(SupportedField(-1, nullptr, nullptr, 10), 0);
}

TEST_F(FieldExports, DefaultSortOrders) {
    ASSERT_NE(SortOrder, nullptr);
    const std::int32_t expected[] = {1, -1, -1, -1, -1, 1, -1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    for (std::int32_t i = 0; i < 18; ++i) EXPECT_EQ(SortOrder(i), expected[i]) << i;
    EXPECT_EQ(SortOrder(18), 0);
    EXPECT_EQ(SortOrder(-1), 0);
}

}  // namespace
}  // namespace seedlens
