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

std::string_view TBEncoded::StringData() const {
    if (!IsString() || FCount == 0) return {};
    return {FValue.Bytes, FCount};
}

TBEncodedDataList TBEncoded::ListData() const {
    if (!HasEntries() || FCount == 0) return {};
    return {FValue.Items, FCount};
}

}  // namespace seedlens
