#include <gtest/gtest.h>

#include "platform/text_compare.h"

namespace seedlens::platform {
namespace {

TEST(EqualIgnoringCase, FoldsLettersOfEveryScript) {
    struct { std::u16string_view A, B; bool Equal; } cases[] = {
        {u"HTTP://A.ORG", u"http://a.org", true},
        {u"http://трекер.рф", u"HTTP://ТРЕКЕР.РФ", true},
        {u"αβγ", u"ΑΒΓ", true},
        {u"a.org", u"b.org", false},
        {u"a", u"aa", false},
        {u"", u"", true},
        // An ASCII start, then letters that need the locale.
        {u"http://Трекер", u"HTTP://тРЕКЕР", true},
        {u"http://a\u00e9", u"HTTP://A\u00c9", true},
        {u"abc\u00e9", u"abd\u00e9", false},
        {u"ab", u"a\u00e9", false},
    };
    for (const auto& c : cases) EXPECT_EQ(EqualIgnoringCase(c.A, c.B), c.Equal);
}

}  // namespace
}  // namespace seedlens::platform
