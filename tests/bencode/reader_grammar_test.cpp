// The reader's grammar: what it accepts, and the code of each refusal.

#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "bencode/bencode_tree.h"

namespace seedlens {
namespace {

using namespace std::string_literals;

// Reads Input and returns the failure's message, or "" on success.
std::string FailureOf(const std::string& Input) {
    MemoryStream stream(Input);
    try {
        TBEncodedTree tree(stream);
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

struct FailureCase {
    std::string Input;
    std::string Message;
};

// Names the case in test listings instead of dumping its bytes.
inline std::ostream& operator<<(std::ostream& Out, const FailureCase& Case) { return Out << Case.Input; }

class ReaderFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(ReaderFailure, RaisesItsCode) { EXPECT_EQ(FailureOf(GetParam().Input), GetParam().Message); }

INSTANTIATE_TEST_SUITE_P(
    Grammar, ReaderFailure,
    testing::Values(
        FailureCase{"", "1"}, FailureCase{"x", "8"}, FailureCase{"i12", "2"}, FailureCase{"i", "2"},
        FailureCase{"i+1e", "3"}, FailureCase{"i 1e", "3"}, FailureCase{"i1.5e", "3"}, FailureCase{"ie", "4"},
        FailureCase{"li1e", "5"}, FailureCase{"l", "5"}, FailureCase{"d3:keyi1e", "6"}, FailureCase{"d", "6"},
        FailureCase{"di1ei2ee", "7"}, FailureCase{"dlee", "7"}, FailureCase{"d3:key", "1"},
        FailureCase{"l:e", "8"},
        FailureCase{"12", "9"}, FailureCase{"3a:", "10"}, FailureCase{"1 :a", "10"},
        FailureCase{"5:abc", "13"}, FailureCase{"1:", "13"},
        FailureCase{"1234567890123456789:x", "12"},  // 19 digits: no such length can exist
        FailureCase{"99999999999999999999999999:", "12"},
        FailureCase{"9999999999999999999999999", "9"},  // ends before the ":": still "9"
        FailureCase{"999999999999999999:x", "13"},      // 18 digits is a length, just too long
        FailureCase{"1000000:abc", "13"},
        // Integer texts the filter lets through but that are no number.
        FailureCase{"i-e", "'-' is not a valid integer value"},
        FailureCase{"i--5e", "'--5' is not a valid integer value"},
        FailureCase{"i1-2e", "'1-2' is not a valid integer value"},
        FailureCase{"i5-e", "'5-' is not a valid integer value"},
        FailureCase{"i9223372036854775808e", "'9223372036854775808' is not a valid integer value"},
        FailureCase{"i-9223372036854775809e", "'-9223372036854775809' is not a valid integer value"}));

// "le1:" above shows the root is read alone; make sure that reading it works.
TEST(ReaderGrammar, StopsAfterTheRootValue) {
    const std::string input = "dei5e"s;
    MemoryStream stream(input);
    TBEncodedTree tree(stream);
    EXPECT_TRUE(tree.Root().IsDictionary());
    EXPECT_EQ(tree.Root().ListData().Count(), 0);
    EXPECT_EQ(stream.Position(), 2);
}

struct IntegerCase {
    std::string Input;
    std::int64_t Value;
};

// Names the case in test listings instead of dumping its bytes.
inline std::ostream& operator<<(std::ostream& Out, const IntegerCase& Case) { return Out << Case.Input; }

class ReaderInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(ReaderInteger, ConvertsTheText) {
    MemoryStream stream(GetParam().Input);
    TBEncodedTree tree(stream);
    ASSERT_TRUE(tree.Root().IsInteger());
    EXPECT_EQ(tree.Root().IntegerData(), GetParam().Value);
    EXPECT_EQ(tree.Root().StringData(), "");
    EXPECT_EQ(tree.Root().ListData().Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Grammar, ReaderInteger,
                         testing::Values(IntegerCase{"i0e", 0}, IntegerCase{"i-0e", 0}, IntegerCase{"i007e", 7},
                                         IntegerCase{"i-42e", -42},
                                         IntegerCase{"i9223372036854775807e", INT64_MAX},
                                         IntegerCase{"i-9223372036854775808e", INT64_MIN},
                                         IntegerCase{"i00000000000000000000000000001e", 1}));

struct StringCase {
    std::string Input;
    std::string Bytes;
};

// Names the case in test listings instead of dumping its bytes.
inline std::ostream& operator<<(std::ostream& Out, const StringCase& Case) { return Out << Case.Input; }

class ReaderString : public testing::TestWithParam<StringCase> {};

TEST_P(ReaderString, KeepsTheBytes) {
    MemoryStream stream(GetParam().Input);
    TBEncodedTree tree(stream);
    ASSERT_TRUE(tree.Root().IsString());
    EXPECT_EQ(tree.Root().StringData(), GetParam().Bytes);
    EXPECT_EQ(tree.Root().IntegerData(), 0);
    EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(GetParam().Input.size()));
}

INSTANTIATE_TEST_SUITE_P(Grammar, ReaderString,
                         testing::Values(StringCase{"0:", ""}, StringCase{"5:abcde", "abcde"},
                                         StringCase{"000005:abcde", "abcde"},
                                         StringCase{"0000005:abcde", "abcde"},  // leading zeros are fine
                                         StringCase{"000000000000000005:abcde", "abcde"},
                                         StringCase{"3:\0\xff\x80"s, "\0\xff\x80"s}));

TEST(ReaderGrammar, EveryByteValueSurvivesInKeysAndValues) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string input = "d256:" + all + "256:" + all + "e";
    MemoryStream stream(input);
    TBEncodedTree tree(stream);
    const TBEncodedDataList entries = tree.Root().ListData();
    ASSERT_EQ(entries.Count(), 1);
    EXPECT_EQ(entries[0].Header, all);
    EXPECT_EQ(entries[0].Data.StringData(), all);
}

TEST(ReaderGrammar, DuplicateKeysAllStayInStreamOrder) {
    const std::string input = "d1:ai1e1:ai2ee"s;
    MemoryStream stream(input);
    TBEncodedTree tree(stream);
    const TBEncodedDataList entries = tree.Root().ListData();
    ASSERT_EQ(entries.Count(), 2);
    EXPECT_EQ(entries[0].Header, "a");
    EXPECT_EQ(entries[0].Data.IntegerData(), 1);
    EXPECT_EQ(entries[1].Header, "a");
    EXPECT_EQ(entries[1].Data.IntegerData(), 2);
}

TEST(ReaderGrammar, ListsAndDictionariesNest) {
    const std::string input = "l4:spamd3:cowi3e0:lee0:e"s;
    MemoryStream stream(input);
    TBEncodedTree tree(stream);
    const TBEncoded& root = tree.Root();
    ASSERT_TRUE(root.IsList());
    const TBEncodedDataList items = root.ListData();
    ASSERT_EQ(items.Count(), 3);
    EXPECT_EQ(items[0].Header, "");
    EXPECT_EQ(items[0].Data.StringData(), "spam");
    const TBEncoded& dict = items[1].Data;
    ASSERT_TRUE(dict.IsDictionary());
    ASSERT_EQ(dict.ListData().Count(), 2);
    EXPECT_EQ(dict.ListData()[0].Header, "cow");
    EXPECT_EQ(dict.ListData()[1].Header, "");  // the empty key is a key
    EXPECT_TRUE(dict.ListData()[1].Data.IsList());
    EXPECT_EQ(items[2].Data.StringData(), "");
    EXPECT_THROW(items.GetItems(3), std::out_of_range);
    EXPECT_THROW(items.GetItems(-1), std::out_of_range);
    EXPECT_EQ(items.IndexOf(items[2]), 2);
    EXPECT_TRUE(dict.ListData().FindElement("cow")->Data == dict.ListData()[0].Data);
    EXPECT_FALSE(dict.ListData().FindElement("pig").has_value());
}

TEST(ReaderGrammar, ContainersOfEverySizeKeepTheirEntries) {
    // Sizes on both sides of where the reader's room leaves a recycled block.
    for (const std::size_t count : {0u, 1u, 31u, 32u, 33u, 63u, 64u, 65u, 5461u, 8191u, 8192u, 8193u, 20000u}) {
        std::string items;
        for (std::size_t i = 0; i < count; ++i) items += "d1:ki" + std::to_string(i) + "ee";
        const std::string input = "d4:listl" + items + "ee";
        MemoryStream stream(input);
        TBEncodedTree tree(stream);
        const TBEncodedDataList list = tree.Root().ListData()[0].Data.ListData();
        ASSERT_EQ(static_cast<std::size_t>(list.Count()), count);
        std::size_t position = 8;  // just past "d4:listl"
        std::size_t i = 0;
        for (const TBEncodedData& item : list) {
            const TBEncoded& entry = item.Data;
            ASSERT_EQ(entry.ListData()[0].Data.IntegerData(), static_cast<std::int64_t>(i)) << count;
            ASSERT_EQ(entry.StreamStartPos(), static_cast<std::int64_t>(position)) << count;
            position += 7 + std::to_string(i).size();
            ASSERT_EQ(entry.StreamEndPos(), static_cast<std::int64_t>(position)) << count;
            ++i;
        }
        EXPECT_EQ(tree.Root().StreamEndPos(), static_cast<std::int64_t>(input.size()));
    }
}

}  // namespace
}  // namespace seedlens
