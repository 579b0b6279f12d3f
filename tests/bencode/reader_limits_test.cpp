// Hostile input must stay cheap: bounded depth, bounded node count, and no
// allocation larger than the input itself.

#include <gtest/gtest.h>

#include <string>

#include "bencode/bencode_tree.h"
#include "tests/support/small_stack.h"

namespace seedlens {
namespace {

constexpr std::size_t kSmallStack = 256 * 1024;

std::string Nested(int Depth) { return std::string(static_cast<std::size_t>(Depth), 'l') + std::string(static_cast<std::size_t>(Depth), 'e'); }

std::string FailureOf(const std::string& Input) {
    MemoryStream stream(Input);
    try {
        TBEncodedTree tree(stream);
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

TEST(ReaderLimits, AcceptsNestingUpToTheBound) {
    EXPECT_EQ(FailureOf(Nested(100)), "");
    EXPECT_EQ(FailureOf(Nested(TBEncodedTree::MaxDepth)), "");
}

TEST(ReaderLimits, RefusesDeeperNestingWithItsOwnCode) {
    EXPECT_EQ(FailureOf(Nested(TBEncodedTree::MaxDepth + 1)), "15");
    std::string dictionaries;
    for (int i = 0; i < TBEncodedTree::MaxDepth; ++i) dictionaries += "d1:a";
    EXPECT_EQ(FailureOf(dictionaries + "i1e"), "6");  // deep enough, just cut off
    EXPECT_EQ(FailureOf(dictionaries + "le"), "15");
}

TEST(ReaderLimits, TenMillionOpeningBytesOnASmallStack) {
    const std::string input(10'000'000, 'l');
    std::string failure = "not run";
    ASSERT_TRUE(test::RunOnSmallStack(kSmallStack, [&] { failure = FailureOf(input); }));
    EXPECT_EQ(failure, "15");
}

TEST(ReaderLimits, TreeAtTheBoundIsBuiltAndFreedOnASmallStack) {
    const std::string input = Nested(TBEncodedTree::MaxDepth);
    bool built = false;
    ASSERT_TRUE(test::RunOnSmallStack(kSmallStack, [&] {
        MemoryStream stream(input);
        TBEncodedTree tree(stream);
        built = tree.Root().IsList() && tree.NodeCount() == TBEncodedTree::MaxDepth;
    }));
    EXPECT_TRUE(built);
}

TEST(ReaderLimits, NodeCountIsBounded) {
    // A list of empty lists: the root plus N items.
    const auto listOf = [](std::size_t Items) {
        std::string s = "l";
        s.reserve(2 * Items + 2);
        for (std::size_t i = 0; i < Items; ++i) s += "le";
        return s + "e";
    };
    EXPECT_EQ(FailureOf(listOf(TBEncodedTree::MaxNodes - 1)), "");
    EXPECT_EQ(FailureOf(listOf(TBEncodedTree::MaxNodes)), "15");
}

TEST(ReaderLimits, LongStringsAreAcceptedWhenTheBytesAreThere) {
    const std::string pieces(3'000'000, '\x7f');
    const std::string input = "d6:pieces" + std::to_string(pieces.size()) + ":" + pieces + "e";
    MemoryStream stream(input);
    TBEncodedTree tree(stream);
    const TBEncoded& value = tree.Root().ListData()[0].Data;
    EXPECT_EQ(value.StringData().size(), pieces.size());
    EXPECT_EQ(value.StringData(), pieces);
}

TEST(ReaderLimits, HugeDeclaredLengthsFailBeforeAnyAllocation) {
    EXPECT_EQ(FailureOf("999999999999999999:abc"), "13");
    EXPECT_EQ(FailureOf("d4:name18446744073:x"), "13");
    EXPECT_EQ(FailureOf("l1000000000:"), "13");
}

}  // namespace
}  // namespace seedlens
