// The bencode reader: one pass over the bytes in memory, without recursion.
//
// Every value read becomes one token, written in stream order. Open lists
// and dictionaries are kept on an explicit stack whose height is bounded by
// TBEncodedTree::MaxDepth; when one closes, its token learns how many
// tokens lie below it. Nothing else is built: strings, keys and integers
// are checked here and read from the bytes when asked for.

#include <algorithm>
#include <string>
#include <vector>

#include "bencode/bencode_tree.h"
#include "bencode/integer_text.h"

namespace seedlens {

IntegerConversionError::IntegerConversionError(std::string_view Text)
    : std::runtime_error("'" + std::string(Text.substr(0, 64)) + (Text.size() > 64 ? "..." : "") +
                         "' is not a valid integer value") {}

namespace {
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// No real length has more digits than this; 18 digits always fit 64 bits.
constexpr std::size_t kMaxLengthDigits = 18;
}  // namespace

class BEncodeReader {
public:
    BEncodeReader(MemoryStream& Stream, TBEncodedTree& Tree)
        : FTree(Tree),
          FBegin(reinterpret_cast<const char*>(Stream.Bytes().data())),
          FStart(FBegin + Stream.Position()),
          FEnd(FBegin + Stream.Size()) {
        // Tokens hold offsets in 32 bits; no torrent comes near 4 GiB.
        if (Stream.Size() > static_cast<std::int64_t>(UINT32_MAX)) Fail(BEncodeErrorCode::LimitExceeded);
        const auto left = static_cast<std::size_t>(FEnd - FStart);
        FTree.FTokens.Reserve(std::min(left / 2 + TBEncodedTree::MaxDepth + 1, TBEncodedTree::MaxNodes));
        FTree.FBase = FBegin;
    }

    // Returns the stream position just past the value read.
    std::int64_t Run() {
        // The cursor lives in a local: kept in a member, it would be reloaded
        // after every token written, which may alias it.
        Cursor at{FStart, 0};
        ReadValue(at, nullptr);
        while (!FOpen.empty()) {
            const bool inDictionary = FOpen.back().IsDictionary;
            if (at.Next == FEnd)
                Fail(inDictionary ? BEncodeErrorCode::DictionaryUnterminated : BEncodeErrorCode::ListUnterminated);
            const char next = *at.Next;
            if (next == 'e') {
                ++at.Next;
                Close(at.Nodes);
            } else if (!inDictionary) {
                ReadValue(at, nullptr);
            } else {
                if (!IsDigit(next)) Fail(BEncodeErrorCode::KeyNotString);
                const char* key = at.Next++;
                SkipString(at.Next, next);
                ReadValue(at, key);
            }
        }
        FTree.FNodeCount = at.Nodes;
        return Position(at.Next);
    }

private:
    struct Cursor {
        const char* Next;   // the next byte to read
        std::size_t Nodes;  // values read so far, and tokens written
    };

    struct OpenContainer {
        bool IsDictionary;
        std::size_t Token;  // its own token
    };

    // The open containers, innermost last. Real torrents nest a handful of
    // levels, kept inline; only deeper ones reach the heap.
    class OpenStack {
    public:
        bool empty() const { return FSize == 0; }
        std::size_t size() const { return FSize; }
        [[gnu::always_inline]] OpenContainer& back() { return FSize <= kInline ? FInline[FSize - 1] : FDeeper.back(); }
        [[gnu::always_inline]] void push_back(const OpenContainer& Container) {
            if (FSize < kInline)
                FInline[FSize] = Container;
            else
                FDeeper.push_back(Container);
            ++FSize;
        }
        [[gnu::always_inline]] void pop_back() {
            if (FSize > kInline) FDeeper.pop_back();
            --FSize;
        }

    private:
        static constexpr std::size_t kInline = 16;
        OpenContainer FInline[kInline];
        std::vector<OpenContainer> FDeeper;
        std::size_t FSize = 0;
    };

    [[noreturn]] static void Fail(BEncodeErrorCode Code) { throw BEncodeError(Code); }

    std::int64_t Position(const char* At) const { return At - FBegin; }

    // Key is where the member's key begins, or nullptr outside a dictionary.
    [[gnu::always_inline]] void ReadValue(Cursor& At, const char* Key) {
        if (At.Next == FEnd) Fail(BEncodeErrorCode::NoValue);
        const char* start = At.Next++;
        const char first = *start;
        if (++At.Nodes > TBEncodedTree::MaxNodes) Fail(BEncodeErrorCode::LimitExceeded);
        TBEncodedFormat kind;
        if (IsDigit(first)) {
            SkipString(At.Next, first);
            kind = TBEncodedFormat::befString;
        } else if (first == 'i') {
            SkipInteger(At.Next);
            kind = TBEncodedFormat::befInteger;
        } else if (first == 'l' || first == 'd') {
            if (FOpen.size() >= static_cast<std::size_t>(TBEncodedTree::MaxDepth))
                Fail(BEncodeErrorCode::LimitExceeded);
            kind = first == 'd' ? TBEncodedFormat::befDictionary : TBEncodedFormat::befList;
            // An empty one, common in hostile input, is done at once.
            if (At.Next != FEnd && *At.Next == 'e')
                ++At.Next;
            else
                FOpen.push_back({first == 'd', At.Nodes - 1});
        } else {
            Fail(BEncodeErrorCode::UnknownValue);
        }
        const std::size_t index = At.Nodes - 1;
        if (index == FTree.FTokens.Capacity()) FTree.FTokens.Grow(index);
        FTree.FTokens.Data()[index] = {
            static_cast<std::uint32_t>(Position(Key != nullptr ? Key : start)),
            static_cast<std::uint32_t>(kind) | (Key != nullptr ? BEncodeToken::kKeyed : 0u)};
    }

    [[gnu::always_inline]] void SkipInteger(const char*& Next) {
        // Up to 18 plain digits, the common case, are checked while scanning.
        const bool negative = Next != FEnd && *Next == '-';
        const char* digits = Next + (negative ? 1 : 0);
        const char* stop = digits + std::min<std::ptrdiff_t>(kMaxLengthDigits, FEnd - digits);
        const char* p = digits;
        while (p != stop && IsDigit(*p)) ++p;
        if (p != digits && p != FEnd && *p == 'e') {
            Next = p + 1;
            return;
        }
        SkipUncommonInteger(Next);
    }

    // Any other integer text, with every check.
    void SkipUncommonInteger(const char*& Next) {
        const char* start = Next;
        for (;;) {
            if (Next == FEnd) Fail(BEncodeErrorCode::IntegerUnterminated);
            const char c = *Next++;
            if (c == 'e') break;
            if (c != '-' && !IsDigit(c)) Fail(BEncodeErrorCode::IntegerBadByte);
        }
        const std::string_view text(start, static_cast<std::size_t>(Next - 1 - start));
        if (text.empty()) Fail(BEncodeErrorCode::IntegerEmpty);
        if (!ParseInt64(text)) throw IntegerConversionError(text);
    }

    // Reads a length text that began with FirstDigit, then skips that many bytes.
    [[gnu::always_inline]] void SkipString(const char*& Next, char FirstDigit) {
        std::size_t digits = 1;
        std::uint64_t length = static_cast<std::uint64_t>(FirstDigit - '0');
        for (;;) {
            if (Next == FEnd) Fail(BEncodeErrorCode::LengthUnterminated);
            const char c = *Next++;
            if (c == ':') break;
            if (!IsDigit(c)) Fail(BEncodeErrorCode::LengthBadByte);
            if (++digits <= kMaxLengthDigits) length = length * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (digits > kMaxLengthDigits) Fail(BEncodeErrorCode::LengthTooLong);
        // Compare with what is left before touching anything, so no claim
        // can make us reach past the input.
        if (length > static_cast<std::uint64_t>(FEnd - Next)) Fail(BEncodeErrorCode::StringTruncated);
        Next += length;
    }

    void Close(std::size_t Written) {
        const OpenContainer& top = FOpen.back();
        FTree.FTokens.Data()[top.Token].Bits |=
            static_cast<std::uint32_t>(Written - top.Token - 1) << BEncodeToken::kBelowShift;
        FOpen.pop_back();
    }

    TBEncodedTree& FTree;
    const char* FBegin;
    const char* FStart;
    const char* FEnd;
    OpenStack FOpen;
};

TBEncodedTree::TBEncodedTree(MemoryStream& Stream) {
    BEncodeReader reader(Stream, *this);
    const std::int64_t end = reader.Run();
    Stream.Seek(end, MemoryStream::Origin::Beginning);
}

}  // namespace seedlens
