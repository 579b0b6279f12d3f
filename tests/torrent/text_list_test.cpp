// The document's text lists: order, insertion, look-up, and addresses read
// as UTF-8 or in the legacy code page, short ASCII ones without a copy.

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "torrent/address_text.h"
#include "torrent/text_list.h"

namespace seedlens {
namespace {

std::vector<std::u16string> Texts(const TextList& List) { return {List.begin(), List.end()}; }

std::u16string Numbered(int I) { return u"http://tracker" + std::u16string(1, static_cast<char16_t>(u'a' + I)) + u"/"; }

TEST(TextList, KeepsOrderAcrossEveryLengthAndInsertionPlace) {
    // Lengths on both sides of the ends kept inline, insertions at every place.
    for (int count = 0; count <= 9; ++count) {
        for (int at = -1; at <= count + 1; ++at) {
            TextList list;
            std::vector<std::u16string> expected;
            for (int i = 0; i < count; ++i) {
                list.Add(Numbered(i));
                expected.push_back(Numbered(i));
            }
            list.Insert(at, u"");  // an empty text is a text too
            expected.insert(expected.begin() + std::clamp(at, 0, count), u"");
            list.Insert(at, u"X");
            expected.insert(expected.begin() + std::clamp(at, 0, count + 1), u"X");
            ASSERT_EQ(Texts(list), expected) << count << " at " << at;
            ASSERT_EQ(list.Count(), count + 2);
            for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(list[i], expected[static_cast<std::size_t>(i)]);
        }
    }
}

TEST(TextList, IndexOfIgnoresCaseAndClearEmptiesEverything) {
    TextList list;
    for (int i = 0; i < 7; ++i) list.Add(Numbered(i));
    EXPECT_EQ(list.IndexOf(u"HTTP://TRACKERF/"), 5);
    EXPECT_EQ(list.IndexOf(u"http://trackera"), -1);  // a prefix is no match
    EXPECT_THROW(static_cast<void>(list[7]), std::out_of_range);
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.IndexOf(u"http://trackera/"), -1);
    list.Add(u"after");
    EXPECT_EQ(Texts(list), std::vector<std::u16string>{u"after"});
}

TEST(AddressText, ReadsEveryByteWhetherWidenedOrDecoded) {
    const struct {
        std::string Bytes;
        std::u16string Text;
    } cases[] = {
        {"", u""},
        {"udp://a:1", u"udp://a:1"},
        {std::string(256, 'a'), std::u16string(256, u'a')},  // the longest widened on the stack
        {std::string(257, 'a'), std::u16string(257, u'a')},  // decoded
        {"caf\xe9", u"caf\u00e9"},                           // not UTF-8: Windows-1252
        {"caf\xc3\xa9", u"caf\u00e9"},                       // UTF-8
        {"\xf0\x90\x90\x80" + std::string(300, 'a'), u"\U00010400" + std::u16string(300, u'a')},
        {std::string(300, 'a') + "\xc3", std::u16string(300, u'a') + u"\u00c3"},  // cut short: not UTF-8
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(AddressText(c.Bytes).View(), c.Text) << c.Bytes.size();
}

}  // namespace
}  // namespace seedlens
