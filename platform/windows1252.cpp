#include "platform/windows1252.h"

#include "platform/utf_codec.h"

namespace seedlens::platform {

namespace {
// 80 to 9F; every other byte is the code point of the same value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}  // namespace

std::u16string DecodeWindows1252(std::string_view Bytes) {
    std::u16string out(Bytes.size(), u'\0');
    char16_t* to = out.data();
    const auto* from = reinterpret_cast<const unsigned char*>(Bytes.data());
    // Addresses are nearly all ASCII.
    std::size_t i = WidenAsciiPrefix(Bytes, to);
    // Every byte but 80 to 9F is its own code point.
    for (; i < Bytes.size(); ++i) {
        const unsigned char b = from[i];
        to[i] = (b & 0xE0) == 0x80 ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

}  // namespace seedlens::platform
