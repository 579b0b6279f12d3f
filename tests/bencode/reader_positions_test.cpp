// Dictionaries remember where they stand in the stream, so that their exact
// bytes can be cut out again.

#include <gtest/gtest.h>

#include <string>

#include "bencode/bencode_tree.h"

namespace seedlens {
namespace {

TEST(ReaderPositions, DictionarySpansAreStreamOffsets) {
    const std::string input = "d1:ad1:bi1eee";
    MemoryStream stream(input);
    TBEncodedTree tree(stream);
    const TBEncoded& root = tree.Root();
    EXPECT_EQ(root.StreamStartPos(), 0);
    EXPECT_EQ(root.StreamEndPos(), 13);
    const TBEncoded& inner = root.ListData()[0].Data;
    EXPECT_EQ(inner.StreamStartPos(), 4);
    EXPECT_EQ(inner.StreamEndPos(), 12);
    const TBEncoded& integer = inner.ListData()[0].Data;
    EXPECT_EQ(integer.StreamStartPos(), 0);
    EXPECT_EQ(integer.StreamEndPos(), 0);
    EXPECT_EQ(stream.Position(), 13);
}

TEST(ReaderPositions, ReadingFromTheMiddleKeepsStreamPositions) {
    const std::string input = "0123456789d1:ad1:bi1eeeTAIL";
    MemoryStream stream(input);
    stream.Seek(10, MemoryStream::Origin::Beginning);
    TBEncodedTree tree(stream);
    EXPECT_EQ(tree.Root().StreamStartPos(), 10);
    EXPECT_EQ(tree.Root().StreamEndPos(), 23);
    EXPECT_EQ(tree.Root().ListData()[0].Data.StreamStartPos(), 14);
    EXPECT_EQ(stream.Position(), 23);
    const auto span = stream.Slice(tree.Root().StreamStartPos(), tree.Root().StreamEndPos());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(span.data()), span.size()), "d1:ad1:bi1eee");
}

TEST(ReaderPositions, EmptyContainers) {
    MemoryStream dict(std::string_view("de"));
    TBEncodedTree tree(dict);
    EXPECT_TRUE(tree.Root().IsDictionary());
    EXPECT_EQ(tree.Root().StreamStartPos(), 0);
    EXPECT_EQ(tree.Root().StreamEndPos(), 2);

    MemoryStream list(std::string_view("le"));
    TBEncodedTree listTree(list);
    EXPECT_TRUE(listTree.Root().IsList());
    EXPECT_EQ(listTree.Root().ListData().Count(), 0);
    EXPECT_EQ(listTree.Root().StreamEndPos(), 0);  // lists record no span
}

}  // namespace
}  // namespace seedlens
