#pragma once
// A tracker or web-seed address as UTF-16, read like the torrent's other
// texts: as UTF-8 when its bytes are UTF-8 (ill-formed sequences replaced),
// otherwise in the legacy code page. Short ASCII, the usual address, reads
// the same either way and is widened on the stack without building a text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "bencode/bencoded.h"
#include "platform/code_pages.h"
#include "platform/utf_codec.h"
#include "torrent/utf8_validity.h"

namespace seedlens {

// An item of a tracker or web-seed list that names no address: not a
// string, or nothing but ASCII whitespace. Clients skip such items, so the
// next real address takes their place.
inline bool IsNoAddress(const TBEncoded& Item) {
    if (!Item.IsString()) return true;
    for (const char c : Item.StringData())
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f') return false;
    return true;
}

class AddressText {
public:
    explicit AddressText(std::string_view Bytes) {
        if (Bytes.size() <= kWidened && platform::WidenAsciiPrefix(Bytes, FWidened) == Bytes.size()) {
            FView = std::u16string_view(FWidened, Bytes.size());
            return;
        }
        FDecoded = IsValidUTF8(Bytes.data(), static_cast<std::int64_t>(Bytes.size())) ? platform::Utf8ToUtf16(Bytes)
                                                                                       : platform::LegacyToUtf16(Bytes);
        FView = FDecoded;
    }
    AddressText(const AddressText&) = delete;
    AddressText& operator=(const AddressText&) = delete;

    std::u16string_view View() const { return FView; }

private:
    static constexpr std::size_t kWidened = 256;
    char16_t FWidened[kWidened];  // only the widened units are ever read
    std::u16string FDecoded;
    std::u16string_view FView;
};

}  // namespace seedlens
