#include <gtest/gtest.h>

#include "platform/text_compare.h"

namespace seedlens::platform {
namespace {

TEST(EqualIgnoringCase, FoldsLettersOfEveryScript) {
    struct { std::u16string_view A, B; bool Equal; } cases[] = {
        {u"HTTP://A.ORG", u"http://a.org", true},
        {u"http://трекер.рф", u"HTTP://ТРЕКЕР.РФ", true},
        {u"αβγ", u"ΑΒΓ", true},
        {u"Straße", u"STRASSE", false},  // simple folding: no expansion
        {u"a.org", u"b.org", false},
        {u"a", u"aa", false},
        {u"", u"", true},
        {u"\U00010428", u"\U00010400", true},  // Deseret, beyond the BMP
    };
    for (const auto& c : cases) EXPECT_EQ(EqualIgnoringCase(c.A, c.B), c.Equal);
}

TEST(CompareFileNames, IsExactOnPosix) {
    EXPECT_NE(CompareFileNames(u"a.torrent", u"A.torrent"), 0);
    EXPECT_EQ(CompareFileNames(u"a.torrent", u"a.torrent"), 0);
    EXPECT_LT(CompareFileNames(u"a", u"b"), 0);
}

}  // namespace
}  // namespace seedlens::platform
