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

// Each dictionary knows whether it, and all inside it, is stored in the one
// canonical form; a break deep inside shows on every dictionary around it.
TEST(ReaderPositions, DictionariesKnowTheirCanonicalForm) {
    struct Case {
        const char* Input;
        bool Root;   // the outer dictionary
        bool Inner;  // the dictionary under "a", when there is one
    } cases[] = {
        {"d1:ad1:bi1e1:ci2ee1:bi0ee", true, true},
        {"d0:i1e1:ai2ee", true, true},              // the empty key sorts first
        {"d1:ad1:ci1e1:bi2eee", false, false},      // out of order inside
        {"d1:ad1:bi1e1:bi2eee", false, false},      // repeated
        {"d1:bi1e1:adee", false, true},             // out of order outside only
        {"d1:ad1:bi01eee", false, false},           // leading zero in an integer
        {"d1:ad1:b02:xyee", false, false},          // leading zero in a length
        {"d1:ad01:bi1eee", false, false},           // ... of a key
        {"d01:ad1:bi1eee", false, true},            // a member's own key counts for the outside
        {"d1:ad1:bi-0e1:ci-05e1:d0:ee", true, true},  // only non-negative values count
        {"d1:ad1:bli00eeee", false, false},          // inside a list inside
        {"d1:ad2:\xc3\xa9i1e1:zi1eee", false, false},  // bytes compare unsigned
        {"d1:ade1:bi007ee", false, true},            // a break outside counts for the outside only
    };
    for (const Case& c : cases) {
        const std::string input = c.Input;
        SCOPED_TRACE(c.Input);
        MemoryStream stream(input);
        TBEncodedTree tree(stream);
        EXPECT_EQ(tree.Root().IsCanonical(), c.Root);
        const auto inner = tree.Root().ListData().FindElement("a");
        if (inner && inner->Data.IsDictionary()) {
            EXPECT_EQ(inner->Data.IsCanonical(), c.Inner);
        }
    }
}

}  // namespace
}  // namespace seedlens
