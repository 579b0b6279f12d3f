#include "bencode/bencoded.h"

#include <stdexcept>
#include <string>

#include "bencode/integer_text.h"

namespace seedlens {

namespace {
// An integer's text, between its "i" and "e".
std::string_view IntegerText(const char* At) {
    const char* end = At + 1;
    while (*end != 'e') ++end;
    return {At + 1, static_cast<std::size_t>(end - At - 1)};
}

// A length or non-negative integer written with more digits than it needs.
bool LeadingZero(std::string_view Digits) { return Digits.size() > 1 && Digits.front() == '0'; }
std::string_view LengthText(const char* At) {
    const char* colon = At;
    while (*colon != ':') ++colon;
    return {At, static_cast<std::size_t>(colon - At)};
}
}  // namespace

std::int64_t TBEncoded::IntegerData() const {
    if (!IsInteger()) return 0;
    // The reader has converted it once: it converts again.
    return ParseInt64(IntegerText(Value())).value_or(0);
}

TBEncodedDataList TBEncoded::ListData() const {
    if (!HasEntries()) return {};
    return {FToken + 1, FToken->Next(), FBase};
}

std::int64_t TBEncoded::StreamStartPos() const { return IsDictionary() ? Value() - FBase : 0; }

std::int64_t TBEncoded::StreamEndPos() const {
    if (!IsDictionary()) return 0;
    // Each list or dictionary on the way down to the last value ends one
    // "e" after it.
    std::int64_t closing = 0;
    TBEncoded node = *this;
    for (;;) {
        if (node.IsString()) {
            const std::string_view bytes = node.StringData();
            return bytes.data() + bytes.size() - FBase + closing;
        }
        if (node.IsInteger()) {
            const std::string_view text = IntegerText(node.Value());
            return text.data() + text.size() + 1 - FBase + closing;
        }
        ++closing;
        const TBEncodedDataList entries = node.ListData();
        if (entries.Empty()) return node.Value() + 1 - FBase + closing;
        node = entries.Last().Data;
    }
}

bool TBEncoded::IsCanonical() const {
    if (!IsDictionary()) return true;
    for (const BEncodeToken* token = FToken; token != FToken->Next(); ++token) {
        // Its own key belongs to the dictionary around it.
        if (token != FToken && token->Keyed() && LeadingZero(LengthText(FBase + token->Start))) return false;
        const TBEncoded node(token, FBase);
        const char* value = node.Value();
        if (node.IsString() && LeadingZero(LengthText(value))) return false;
        // "-0" and "-05" pass: only a non-negative value is written one way.
        if (node.IsInteger() && LeadingZero(IntegerText(value))) return false;
        if (!node.IsDictionary()) continue;
        std::string_view previous;
        bool first = true;
        for (const TBEncodedData& member : node.ListData()) {
            if (!first && !(previous < member.Header)) return false;
            previous = member.Header;
            first = false;
        }
    }
    return true;
}

std::int32_t TBEncodedDataList::Count() const {
    std::int32_t count = 0;
    for (const BEncodeToken* token = FFirst; token != FEnd; token = token->Next()) ++count;
    return count;
}

TBEncodedData TBEncodedDataList::GetItems(std::int32_t Index) const {
    if (Index >= 0) {
        std::int32_t at = 0;
        for (Iterator entry = begin(); entry != end(); ++entry, ++at)
            if (at == Index) return *entry;
    }
    throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
}

TBEncodedData TBEncodedDataList::Last() const {
    if (Empty()) throw std::out_of_range("List index out of bounds (-1)");
    Iterator last = begin();
    for (Iterator next = last; ++next != end();) last = next;
    return *last;
}

std::int32_t TBEncodedDataList::IndexOf(const TBEncodedData& Entry) const {
    std::int32_t at = 0;
    for (const TBEncodedData& entry : *this) {
        if (entry.Data == Entry.Data) return at;
        ++at;
    }
    return -1;
}

std::optional<TBEncodedData> TBEncodedDataList::FindElement(std::string_view Header) const {
    for (const TBEncodedData& entry : *this)
        if (entry.Header == Header) return entry;
    return std::nullopt;
}

}  // namespace seedlens
