#include "bencode/bencoded.h"

#include <string>

namespace seedlens {

const TBEncodedData& TBEncodedDataList::GetItems(std::int32_t Index) const {
    if (Index < 0 || static_cast<std::size_t>(Index) >= FCount)
        throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[Index];
}

std::int32_t TBEncodedDataList::IndexOf(const TBEncodedData& Entry) const {
    if (&Entry < begin() || &Entry >= end()) return -1;
    return static_cast<std::int32_t>(&Entry - begin());
}

const TBEncodedData* TBEncodedDataList::FindElement(std::string_view Header) const {
    for (const TBEncodedData& entry : *this)
        if (entry.Header == Header) return &entry;
    return nullptr;
}

TBEncoded TBEncoded::String(std::string_view Bytes) {
    TBEncoded node;
    node.FFormat = TBEncodedFormat::befString;
    node.FCount = static_cast<std::uint32_t>(Bytes.size());
    node.FValue.Bytes = Bytes.data();
    return node;
}

TBEncoded TBEncoded::Integer(std::int64_t Value) {
    TBEncoded node;
    node.FFormat = TBEncodedFormat::befInteger;
    node.FValue.Integer = Value;
    return node;
}

TBEncoded TBEncoded::List(const TBEncodedData* Items, std::uint32_t Count) {
    TBEncoded node;
    node.FFormat = TBEncodedFormat::befList;
    node.FCount = Count;
    node.FValue.Items = Items;
    return node;
}

TBEncoded TBEncoded::Dictionary(const TBEncodedData* Items, std::uint32_t Count,
                                std::int64_t StreamStart, std::int64_t StreamEnd) {
    TBEncoded node = List(Items, Count);
    node.FFormat = TBEncodedFormat::befDictionary;
    node.FStreamStartPos = StreamStart;
    node.FStreamEndPos = StreamEnd;
    return node;
}

std::string_view TBEncoded::StringData() const {
    if (!IsString() || FCount == 0) return {};
    return {FValue.Bytes, FCount};
}

TBEncodedDataList TBEncoded::ListData() const {
    if (!HasEntries() || FCount == 0) return {};
    return {FValue.Items, FCount};
}

}  // namespace seedlens
