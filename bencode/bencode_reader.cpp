// The bencode reader: one pass over the bytes in memory, without recursion.
//
// Open lists and dictionaries are kept on an explicit stack whose height is
// bounded by TBEncodedTree::MaxDepth. The entries of every open container
// collect on one scratch stack; when a container closes, its entries are the
// top of that stack and move into the tree's arena as one block.
//
// Whether each container is in canonical form is noted on the way: clients
// hash a v2 info dictionary as it is stored and refuse any other form.

#include <algorithm>
#include <string>
#include <vector>

#include "bencode/bencode_tree.h"
#include "bencode/entry_stack.h"
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
          FEnd(FBegin + Stream.Size()) {}

    // Returns the stream position just past the value read.
    std::int64_t Run() {
        // The cursor and the node count live in locals: kept in members, they
        // would be reloaded after every entry written, which may alias them.
        Cursor at{FStart, 0};
        ReadValue(at, {});
        while (!FOpen.empty()) {
            const bool inDictionary = FOpen.back().IsDictionary;
            if (at.Next == FEnd)
                Fail(inDictionary ? BEncodeErrorCode::DictionaryUnterminated : BEncodeErrorCode::ListUnterminated);
            const char next = *at.Next;
            if (next == 'e') {
                ++at.Next;
                CloseTop(at.Next);
            } else if (!inDictionary) {
                ReadValue(at, {});
            } else {
                if (!IsDigit(next)) Fail(BEncodeErrorCode::KeyNotString);
                ++at.Next;
                const std::string_view key = ReadString(at.Next, next);
                NoteKeyOrder(key);
                ReadValue(at, key);
            }
        }
        FTree.FNodeCount = at.Nodes;
        return Position(at.Next);
    }

private:
    struct Cursor {
        const char* Next;   // the next byte to read
        std::size_t Nodes;  // values read so far
    };

    struct OpenContainer {
        bool IsDictionary;
        std::size_t FirstEntry;  // index into FScratch
        std::int64_t StreamStart;
        std::string_view Header;   // key under which it goes into its parent
        std::string_view LastKey;  // a dictionary's latest key; no data before the first
        bool Canonical;            // nothing inside it so far breaks the canonical form
    };

    // The open containers, innermost last. Real torrents nest a handful of
    // levels, kept inline; only deeper ones reach the heap.
    class OpenStack {
    public:
        bool empty() const { return FSize == 0; }
        std::size_t size() const { return FSize; }
        OpenContainer& back() { return FSize <= kInline ? FInline[FSize - 1] : FDeeper.back(); }
        void push_back(const OpenContainer& Container) {
            if (FSize < kInline)
                FInline[FSize] = Container;
            else
                FDeeper.push_back(Container);
            ++FSize;
        }
        void pop_back() {
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

    // Breaks of the canonical form count for the innermost open container;
    // the root's own value has none to count for.
    void NoteNotCanonical() {
        if (!FOpen.empty()) FOpen.back().Canonical = false;
    }

    // Keys must increase strictly, compared as unsigned bytes.
    void NoteKeyOrder(std::string_view Key) {
        OpenContainer& top = FOpen.back();
        if (top.LastKey.data() != nullptr && !(top.LastKey < Key)) top.Canonical = false;
        top.LastKey = Key;
    }

    [[gnu::always_inline]] void ReadValue(Cursor& At, std::string_view Header) {
        if (At.Next == FEnd) Fail(BEncodeErrorCode::NoValue);
        const char first = *At.Next++;
        if (++At.Nodes > TBEncodedTree::MaxNodes) Fail(BEncodeErrorCode::LimitExceeded);
        if (IsDigit(first)) {
            Emit(Header, TBEncoded::String(ReadString(At.Next, first)));
        } else if (first == 'i') {
            Emit(Header, TBEncoded::Integer(ReadInteger(At.Next)));
        } else if (first == 'l' || first == 'd') {
            if (FOpen.size() >= static_cast<std::size_t>(TBEncodedTree::MaxDepth))
                Fail(BEncodeErrorCode::LimitExceeded);
            FOpen.push_back({first == 'd', FScratch.Size(), Position(At.Next - 1), Header, {}, true});
        } else {
            Fail(BEncodeErrorCode::UnknownValue);
        }
    }

    [[gnu::always_inline]] std::int64_t ReadInteger(const char*& Next) {
        // Up to 18 plain digits, the common case, are parsed while scanning.
        const bool negative = Next != FEnd && *Next == '-';
        const char* digits = Next + (negative ? 1 : 0);
        const char* stop = digits + std::min<std::ptrdiff_t>(kMaxLengthDigits, FEnd - digits);
        std::uint64_t magnitude = 0;
        const char* p = digits;
        for (; p != stop && IsDigit(*p); ++p) magnitude = magnitude * 10 + static_cast<std::uint64_t>(*p - '0');
        if (p != digits && p != FEnd && *p == 'e') {
            // "-0" and "-05" pass: only a non-negative value is written one way.
            if (!negative && *digits == '0' && p - digits > 1) NoteNotCanonical();
            Next = p + 1;
            return negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
        }
        return ReadUncommonInteger(Next);
    }

    // Any other integer text, with every check.
    std::int64_t ReadUncommonInteger(const char*& Next) {
        const char* start = Next;
        for (;;) {
            if (Next == FEnd) Fail(BEncodeErrorCode::IntegerUnterminated);
            const char c = *Next++;
            if (c == 'e') break;
            if (c != '-' && !IsDigit(c)) Fail(BEncodeErrorCode::IntegerBadByte);
        }
        const std::string_view text(start, static_cast<std::size_t>(Next - 1 - start));
        if (text.empty()) Fail(BEncodeErrorCode::IntegerEmpty);
        const auto value = ParseInt64(text);
        if (!value) throw IntegerConversionError(text);
        if (text.size() > 1 && text.front() == '0') NoteNotCanonical();
        return *value;
    }

    // Reads a length text that began with FirstDigit, then that many bytes.
    [[gnu::always_inline]] std::string_view ReadString(const char*& Next, char FirstDigit) {
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
        if (FirstDigit == '0' && digits > 1) NoteNotCanonical();
        // Compare with what is left before touching anything, so no claim
        // can make us reach past the input.
        if (length > static_cast<std::uint64_t>(FEnd - Next)) Fail(BEncodeErrorCode::StringTruncated);
        // A node counts its bytes in 32 bits; only a multi-gigabyte input
        // could hold a longer string, and no torrent does.
        if (length > UINT32_MAX) Fail(BEncodeErrorCode::LimitExceeded);
        const std::string_view bytes(Next, static_cast<std::size_t>(length));
        Next += length;
        return bytes;
    }

    [[gnu::always_inline]] void Emit(std::string_view Header, const TBEncoded& Node) {
        if (FOpen.empty()) {
            FTree.FRoot = Node;
            return;
        }
        TBEncodedData& slot = FScratch.Push();
        slot.Header = Header;
        slot.Data = Node;
    }

    void CloseTop(const char* Next) {
        const OpenContainer& top = FOpen.back();
        const std::span<const TBEncodedData> entries = FScratch.From(top.FirstEntry);
        const auto count = static_cast<std::uint32_t>(entries.size());
        const TBEncoded node = top.IsDictionary
                                   ? TBEncoded::Dictionary(FTree.FEntries.StoreDictionary(
                                                               entries, {top.StreamStart, Position(Next), top.Canonical}),
                                                           count)
                                   : TBEncoded::List(FTree.FEntries.Store(entries), count);
        FScratch.ShrinkTo(top.FirstEntry);
        const std::string_view header = top.Header;
        const bool canonical = top.Canonical;
        FOpen.pop_back();
        if (!canonical) NoteNotCanonical();
        Emit(header, node);
    }

    TBEncodedTree& FTree;
    const char* FBegin;
    const char* FStart;
    const char* FEnd;
    OpenStack FOpen;
    EntryStack FScratch;
};

TBEncodedTree::TBEncodedTree(MemoryStream& Stream) {
    BEncodeReader reader(Stream, *this);
    const std::int64_t end = reader.Run();
    Stream.Seek(end, MemoryStream::Origin::Beginning);
}

}  // namespace seedlens
