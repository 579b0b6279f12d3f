#pragma once
// Torrent bytes read in the legacy code page, as UTF-16, without building a
// new text in the usual case: short ASCII reads the same in every code page
// and is widened on the stack; anything else is decoded.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/code_pages.h"
#include "platform/utf_codec.h"

namespace seedlens {

class LegacyText {
public:
    explicit LegacyText(std::string_view Bytes) {
        if (Bytes.size() <= kWidened && platform::WidenAsciiPrefix(Bytes, FWidened) == Bytes.size()) {
            FView = std::u16string_view(FWidened, Bytes.size());
        } else {
            FDecoded = platform::LegacyToUtf16(Bytes);
            FView = FDecoded;
        }
    }
    LegacyText(const LegacyText&) = delete;
    LegacyText& operator=(const LegacyText&) = delete;

    std::u16string_view View() const { return FView; }

private:
    static constexpr std::size_t kWidened = 256;
    char16_t FWidened[kWidened];  // only the widened units are ever read
    std::u16string FDecoded;
    std::u16string_view FView;
};

}  // namespace seedlens
