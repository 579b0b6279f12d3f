#pragma once
// The bencode tree.
//
// A tree is one flat array of 8-byte tokens, one per value, in the order
// the values stand in the stream; strings, keys and integers stay in the
// loaded bytes and are read from there when asked for:
//
//   bytes:  d 4:name 3:abc 5:files l i1e i2e e e
//   tokens: [dict, 4 below] [name: string] [files: list, 2 below] [int] [int]
//             │                │
//             │                └ Start: where its member begins (the key "4:name")
//             └ a list or dictionary counts the tokens below it, so its
//               entries are found by skipping from one to the next
//
// Nodes and entries are small views of a token and the bytes, made as they
// are asked for; the loaded bytes and the tree must outlive them. Nothing in
// a tree changes after the reader has built it.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

namespace seedlens {

enum class TBEncodedFormat : std::uint8_t {
    befEmpty,
    befString,
    befInteger,
    befList,
    befDictionary,
};

// One value of the stream. Start is the offset of its first byte, or of its
// key's first byte for a dictionary member; Bits holds the kind, whether a
// key comes first, and for a list or dictionary the number of tokens below it.
struct BEncodeToken {
    std::uint32_t Start;
    std::uint32_t Bits;

    static constexpr std::uint32_t kKindBits = 3;
    static constexpr std::uint32_t kKeyed = 1u << kKindBits;
    static constexpr std::uint32_t kBelowShift = kKindBits + 1;

    TBEncodedFormat Kind() const { return static_cast<TBEncodedFormat>(Bits & ((1u << kKindBits) - 1)); }
    bool Keyed() const { return (Bits & kKeyed) != 0; }
    std::uint32_t Below() const { return Bits >> kBelowShift; }
    // The token after this value and everything inside it.
    const BEncodeToken* Next() const { return this + 1 + Below(); }
};
static_assert(sizeof(BEncodeToken) == 8);

struct TBEncodedData;
class TBEncodedDataList;

// One node of the tree: a view of its token and of the loaded bytes. A
// default node is befEmpty and stands for a value that is not there.
class TBEncoded {
public:
    TBEncoded() = default;
    TBEncoded(const BEncodeToken* Token, const char* Base);
    // Value is where the value begins, past its key.
    TBEncoded(const BEncodeToken* Token, const char* Base, const char* Value)
        : FToken(Token), FBase(Base), FValue(Value) {}

    TBEncodedFormat Format() const { return FToken != nullptr ? FToken->Kind() : TBEncodedFormat::befEmpty; }
    bool IsPresent() const { return FToken != nullptr; }
    bool IsString() const { return Format() == TBEncodedFormat::befString; }
    bool IsInteger() const { return Format() == TBEncodedFormat::befInteger; }
    bool IsList() const { return Format() == TBEncodedFormat::befList; }
    bool IsDictionary() const { return Format() == TBEncodedFormat::befDictionary; }
    // Lists and dictionaries both carry entries.
    bool HasEntries() const { return IsList() || IsDictionary(); }

    // The string's bytes exactly as stored; empty for every other kind.
    std::string_view StringData() const;
    // The integer's value; 0 for every other kind.
    std::int64_t IntegerData() const;
    // Entries of a list or dictionary; an empty list for every other kind.
    TBEncodedDataList ListData() const;

    // A dictionary's span in the stream: its "d" and just past its "e".
    // Both are 0 for every other kind.
    std::int64_t StreamStartPos() const;
    std::int64_t StreamEndPos() const;
    // A dictionary stored as the format's canonical form asks: at every
    // level inside it, keys in increasing byte order with none repeated, and
    // no integer or length written with a leading zero. True for every
    // other kind. It looks at every byte inside: ask once.
    bool IsCanonical() const;

    // The same value of the same tree.
    bool operator==(const TBEncoded& Other) const { return FToken == Other.FToken; }

    const BEncodeToken* Token() const { return FToken; }

private:
    // The value's first byte, past its key.
    const char* Value() const { return FValue; }

    const BEncodeToken* FToken = nullptr;
    const char* FBase = nullptr;
    const char* FValue = nullptr;
};

// One dictionary member or list item. List items have an empty Header.
struct TBEncodedData {
    std::string_view Header;
    TBEncoded Data;
};

// The entries of a list or dictionary, in the order they stand in the stream.
// Entries are found by walking from the first: Count and GetItems cost a
// step per entry before the one asked for, iteration a step per entry.
class TBEncodedDataList {
public:
    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TBEncodedData;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TBEncodedData;

        Iterator() = default;
        Iterator(const BEncodeToken* Token, const char* Base) : FToken(Token), FBase(Base) {}
        TBEncodedData operator*() const;
        Iterator& operator++() {
            FToken = FToken->Next();
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const Iterator& Other) const { return FToken == Other.FToken; }

    private:
        const BEncodeToken* FToken = nullptr;
        const char* FBase = nullptr;
    };

    TBEncodedDataList() = default;
    TBEncodedDataList(const BEncodeToken* First, const BEncodeToken* End, const char* Base)
        : FFirst(First), FEnd(End), FBase(Base) {}

    std::int32_t Count() const;
    bool Empty() const { return FFirst == FEnd; }

    // Entry at Index; an index outside 0 to Count()-1 throws std::out_of_range.
    TBEncodedData GetItems(std::int32_t Index) const;
    TBEncodedData operator[](std::int32_t Index) const { return GetItems(Index); }
    TBEncodedData First() const { return GetItems(0); }
    TBEncodedData Last() const;

    // Position of Entry in this list, or -1.
    std::int32_t IndexOf(const TBEncodedData& Entry) const;
    // First entry whose key equals Header byte for byte.
    std::optional<TBEncodedData> FindElement(std::string_view Header) const;

    Iterator begin() const { return {FFirst, FBase}; }
    Iterator end() const { return {FEnd, FBase}; }

private:
    const BEncodeToken* FFirst = nullptr;
    const BEncodeToken* FEnd = nullptr;
    const char* FBase = nullptr;
};

// The bytes of a string whose length text starts at Text: the reader has
// checked it, so it ends in ":" within the input.
inline std::string_view StoredString(const char* Text) {
    std::size_t length = 0;
    while (*Text != ':') length = length * 10 + static_cast<std::size_t>(*Text++ - '0');
    return {Text + 1, length};
}

inline TBEncoded::TBEncoded(const BEncodeToken* Token, const char* Base)
    : FToken(Token), FBase(Base), FValue(Base + Token->Start) {
    if (!Token->Keyed()) return;
    const std::string_view key = StoredString(FValue);
    FValue = key.data() + key.size();
}

inline std::string_view TBEncoded::StringData() const {
    return IsString() ? StoredString(Value()) : std::string_view{};
}

inline TBEncodedData TBEncodedDataList::Iterator::operator*() const {
    const char* at = FBase + FToken->Start;
    if (!FToken->Keyed()) return {{}, TBEncoded(FToken, FBase, at)};
    const std::string_view header = StoredString(at);
    return {header, TBEncoded(FToken, FBase, header.data() + header.size())};
}

}  // namespace seedlens
