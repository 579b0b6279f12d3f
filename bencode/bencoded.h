#pragma once
// The bencode tree.
//
// A tree is owned by one TBEncodedTree. Its entries live in a few large
// blocks of the tree (see bencode_tree.h); nodes are small values that point
// into those blocks and into the loaded bytes:
//
//   TBEncodedTree ── blocks: [ TBEncodedData | TBEncodedData | ... ]
//        │                      │ Header ──> key bytes in the input
//        └─ root: TBEncoded     └ Data: TBEncoded
//                                   ├ string:  bytes ──> the input
//                                   ├ integer: value
//                                   └ list/dictionary: entries ──> a block
//
// Strings are views into the loaded bytes, so those bytes must outlive the
// tree. Nothing in a tree changes after the reader has built it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string_view>

namespace seedlens {

enum class TBEncodedFormat : std::uint8_t {
    befEmpty,
    befString,
    befInteger,
    befList,
    befDictionary,
};

struct TBEncodedData;

// The entries of a list or dictionary, in the order they stand in the stream.
class TBEncodedDataList {
public:
    TBEncodedDataList() = default;
    TBEncodedDataList(const TBEncodedData* Items, std::size_t Count) : FItems(Items), FCount(Count) {}

    std::int32_t Count() const { return static_cast<std::int32_t>(FCount); }
    bool Empty() const { return FCount == 0; }

    // Entry at Index; an index outside 0 to Count()-1 throws std::out_of_range.
    const TBEncodedData& GetItems(std::int32_t Index) const;
    const TBEncodedData& operator[](std::int32_t Index) const { return GetItems(Index); }
    const TBEncodedData& First() const { return GetItems(0); }
    const TBEncodedData& Last() const { return GetItems(Count() - 1); }

    // Position of Entry in this list, or -1.
    std::int32_t IndexOf(const TBEncodedData& Entry) const;
    // First entry whose key equals Header byte for byte, or nullptr.
    const TBEncodedData* FindElement(std::string_view Header) const;

    const TBEncodedData* begin() const { return FItems; }
    const TBEncodedData* end() const;

private:
    // A plain pointer and count: the entry type is still incomplete here.
    const TBEncodedData* FItems = nullptr;
    std::size_t FCount = 0;
};

// One node of the tree.
class TBEncoded {
public:
    TBEncoded() = default;

    static TBEncoded String(std::string_view Bytes);
    static TBEncoded Integer(std::int64_t Value);
    static TBEncoded List(const TBEncodedData* Items, std::uint32_t Count);
    // Items must follow the slot that holds the dictionary's span.
    static TBEncoded Dictionary(const TBEncodedData* Items, std::uint32_t Count);

    TBEncodedFormat Format() const { return FFormat; }
    bool IsString() const { return FFormat == TBEncodedFormat::befString; }
    bool IsInteger() const { return FFormat == TBEncodedFormat::befInteger; }
    bool IsList() const { return FFormat == TBEncodedFormat::befList; }
    bool IsDictionary() const { return FFormat == TBEncodedFormat::befDictionary; }
    // Lists and dictionaries both carry entries.
    bool HasEntries() const { return IsList() || IsDictionary(); }

    // The string's bytes exactly as stored; empty for every other kind.
    std::string_view StringData() const;
    // The integer's value; 0 for every other kind.
    std::int64_t IntegerData() const { return IsInteger() ? FValue.Integer : 0; }
    // Entries of a list or dictionary; an empty list for every other kind.
    TBEncodedDataList ListData() const;

    // A dictionary's span in the stream: its "d" and just past its "e".
    // Both are 0 for every other kind.
    std::int64_t StreamStartPos() const;
    std::int64_t StreamEndPos() const;
    // A dictionary stored as the format's canonical form asks: at every
    // level inside it, keys in increasing byte order with none repeated, and
    // no integer or length written with a leading zero. True for every
    // other kind.
    bool IsCanonical() const;

private:
    TBEncodedFormat FFormat = TBEncodedFormat::befEmpty;
    std::uint32_t FCount = 0;  // string length or number of entries
    union Value {
        std::int64_t Integer;
        const char* Bytes;
        const TBEncodedData* Items;  // a dictionary's span sits in the slot before the first
    } FValue{0};
};

// One dictionary member or list item. List items have an empty Header.
struct TBEncodedData {
    std::string_view Header;
    TBEncoded Data;
};

// A dictionary's span, kept in the entry slot just before its entries: only
// dictionaries pay for it, and every entry stays small.
struct TBEncodedSpan {
    std::int64_t Start;
    std::int64_t End;
    bool Canonical;
};
static_assert(sizeof(TBEncodedSpan) <= sizeof(TBEncodedData));

inline std::int64_t TBEncoded::StreamStartPos() const {
    return IsDictionary() ? reinterpret_cast<const TBEncodedSpan*>(FValue.Items - 1)->Start : 0;
}
inline std::int64_t TBEncoded::StreamEndPos() const {
    return IsDictionary() ? reinterpret_cast<const TBEncodedSpan*>(FValue.Items - 1)->End : 0;
}

inline bool TBEncoded::IsCanonical() const {
    return !IsDictionary() || reinterpret_cast<const TBEncodedSpan*>(FValue.Items - 1)->Canonical;
}

inline const TBEncodedData* TBEncodedDataList::end() const { return FItems + FCount; }

// The reader makes a node per value: these stay inline so that a node is
// built in registers, not stored and reloaded.
inline TBEncoded TBEncoded::String(std::string_view Bytes) {
    TBEncoded node;
    node.FFormat = TBEncodedFormat::befString;
    node.FCount = static_cast<std::uint32_t>(Bytes.size());
    node.FValue.Bytes = Bytes.data();
    return node;
}

inline TBEncoded TBEncoded::Integer(std::int64_t Value) {
    TBEncoded node;
    node.FFormat = TBEncodedFormat::befInteger;
    node.FValue.Integer = Value;
    return node;
}

inline TBEncoded TBEncoded::List(const TBEncodedData* Items, std::uint32_t Count) {
    TBEncoded node;
    node.FFormat = TBEncodedFormat::befList;
    node.FCount = Count;
    node.FValue.Items = Items;
    return node;
}

inline TBEncoded TBEncoded::Dictionary(const TBEncodedData* Items, std::uint32_t Count) {
    TBEncoded node = List(Items, Count);
    node.FFormat = TBEncodedFormat::befDictionary;
    return node;
}


}  // namespace seedlens
