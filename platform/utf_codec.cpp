#include "platform/utf_codec.h"

#include <emmintrin.h>  // SSE2, part of every x86-64 processor

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace seedlens::platform {

namespace {
constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The lone surrogates that stand for bytes of a name that are no UTF-8.
bool IsEscapedByte(char16_t Unit) { return Unit >= 0xDC80 && Unit <= 0xDCFF; }

// True when none of the eight units at From is past U+007F.
bool EightAscii(const char16_t* From, __m128i& Units) {
    Units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(From));
    const __m128i high = _mm_and_si128(Units, _mm_set1_epi16(static_cast<short>(0xFF80)));
    return _mm_movemask_epi8(_mm_cmpeq_epi16(high, _mm_setzero_si128())) == 0xFFFF;
}

}  // namespace

std::size_t NarrowAsciiPrefix(std::u16string_view Text, char* To) {
    std::size_t i = 0;
    __m128i units;
    for (; i + 8 <= Text.size() && EightAscii(Text.data() + i, units); i += 8)
        _mm_storel_epi64(reinterpret_cast<__m128i*>(To + i), _mm_packus_epi16(units, units));
    for (; i < Text.size() && Text[i] < 0x80; ++i) To[i] = static_cast<char>(Text[i]);
    return i;
}

std::size_t WidenAsciiPrefix(std::string_view Bytes, char16_t* To) {
    const auto* from = reinterpret_cast<const unsigned char*>(Bytes.data());
    std::size_t i = 0;
    // Sixteen bytes at a time: addresses and names are nearly all ASCII.
    for (; i + 16 <= Bytes.size(); i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        if (_mm_movemask_epi8(bytes) != 0) break;
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(To + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(To + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
    for (; i < Bytes.size() && from[i] < 0x80; ++i) To[i] = from[i];
    return i;
}

namespace {

// Decodes the sequence at Bytes[Pos]; on success returns its code point and
// length, otherwise the length of the maximal ill-formed subpart (at least 1)
// and no code point.
struct Decoded {
    char32_t CodePoint;
    std::size_t Length;
    bool Valid;
};

Decoded DecodeOne(std::string_view Bytes, std::size_t Pos) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(Bytes[i]); };
    const unsigned char lead = at(Pos);
    if (lead < 0x80) return {lead, 1, true};
    std::size_t length = 0;
    char32_t cp = 0;
    // Bounds of the second byte exclude overlong forms, surrogates and
    // values past U+10FFFF (Unicode's table of well-formed sequences).
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2; cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3; cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4; cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {0, 1, false};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (Pos + i >= Bytes.size()) return {0, i, false};
        const unsigned char b = at(Pos + i);
        const bool inRange = i == 1 ? (b >= low && b <= high) : IsContinuation(b);
        if (!inRange) return {0, i, false};
        cp = (cp << 6) | (b & 0x3F);
    }
    return {cp, length, true};
}
}  // namespace

std::size_t WellFormedUtf8Length(std::string_view Bytes) {
    if (Bytes.empty()) return 0;
    const Decoded d = DecodeOne(Bytes, 0);
    return d.Valid ? d.Length : 0;
}

void AppendUtf16(std::u16string& Out, char32_t CodePoint) {
    if (CodePoint < 0x10000) {
        Out.push_back(static_cast<char16_t>(CodePoint));
    } else {
        CodePoint -= 0x10000;
        Out.push_back(static_cast<char16_t>(0xD800 + (CodePoint >> 10)));
        Out.push_back(static_cast<char16_t>(0xDC00 + (CodePoint & 0x3FF)));
    }
}

std::u16string DecodeUtf8(std::string_view Bytes) {
    // Never more units than bytes: decode into place, then trim.
    std::u16string out(Bytes.size(), u'\0');
    out.resize(DecodeUtf8Into(Bytes, out.data(), out.size()));
    return out;
}

std::size_t DecodeUtf8Into(std::string_view Bytes, void* Out, std::size_t Capacity) {
    // Out may be a host's buffer at any address: units are stored bytewise.
    auto* out = static_cast<unsigned char*>(Out);
    const auto put = [out](std::size_t Index, char16_t Unit) { std::memcpy(out + Index * 2, &Unit, sizeof Unit); };
    std::size_t pos = 0, written = 0;
    while (pos < Bytes.size() && written < Capacity) {
        // Runs of ASCII, eight bytes at a time: hashes, addresses, most names.
        if (pos + 8 <= Bytes.size() && written + 8 <= Capacity) {
            const __m128i eight = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(Bytes.data() + pos));
            if ((_mm_movemask_epi8(eight) & 0xFF) == 0) {
                const __m128i units = _mm_unpacklo_epi8(eight, _mm_setzero_si128());
                _mm_storeu_si128(reinterpret_cast<__m128i*>(out + written * 2), units);
                pos += 8;
                written += 8;
                continue;
            }
        }
        const auto b = static_cast<unsigned char>(Bytes[pos]);
        if (b < 0x80) {
            put(written++, b);
            ++pos;
            continue;
        }
        const Decoded d = DecodeOne(Bytes, pos);
        const char32_t cp = d.Valid ? d.CodePoint : kReplacement;
        if (cp >= 0x10000) {
            if (written + 2 > Capacity) break;  // never half a pair
            put(written++, static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            put(written++, static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            put(written++, static_cast<char16_t>(cp));
        }
        pos += d.Length;
    }
    return written;
}

std::size_t SanitizeUtf8Into(std::string_view Bytes, char* Out, std::size_t Capacity) {
    static constexpr char kReplacementBytes[] = "\xEF\xBF\xBD";
    std::size_t pos = 0, written = 0;
    while (pos < Bytes.size()) {
        if (static_cast<unsigned char>(Bytes[pos]) < 0x80) {
            if (written == Capacity) break;
            Out[written++] = Bytes[pos++];
            continue;
        }
        const Decoded d = DecodeOne(Bytes, pos);
        const char* source = d.Valid ? Bytes.data() + pos : kReplacementBytes;
        const std::size_t length = d.Valid ? d.Length : 3;
        if (written + length > Capacity) break;  // never half a character
        std::memcpy(Out + written, source, length);
        written += length;
        pos += d.Length;
    }
    return written;
}

namespace {

// EncodeUtf8, where RestoreBytes gives a lone U+DC80..U+DCFF back the byte
// that DecodeUtf8EscapingBytes made it from.
std::string Encode(std::u16string_view Text, bool RestoreBytes) {
    // ASCII, the common case, is narrowed as it is, with no room to spare.
    std::string out(Text.size(), '\0');
    const std::size_t ascii = NarrowAsciiPrefix(Text, out.data());
    if (ascii == Text.size()) return out;
    // At most three bytes per unit (a pair makes four bytes of two units).
    out.resize(Text.size() * 3);
    char* o = out.data() + ascii;
    for (std::size_t i = ascii; i < Text.size(); ++i) {
        char32_t cp = Text[i];
        if (cp < 0x80) {
            *o++ = static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 && Text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (Text[i + 1] - 0xDC00);
            ++i;
        } else if (RestoreBytes && IsEscapedByte(Text[i])) {
            *o++ = static_cast<char>(Text[i] - 0xDC00);
            continue;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x800) {
            *o++ = static_cast<char>(0xC0 | (cp >> 6));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            *o++ = static_cast<char>(0xE0 | (cp >> 12));
            *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            *o++ = static_cast<char>(0xF0 | (cp >> 18));
            *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

}  // namespace

std::string EncodeUtf8(std::u16string_view Text) { return Encode(Text, false); }

std::u16string DecodeUtf8EscapingBytes(std::string_view Bytes) {
    // Never more units than bytes, escapes included.
    std::u16string out(Bytes.size(), u'\0');
    std::size_t pos = 0, written = 0;
    while (pos < Bytes.size()) {
        const std::size_t ascii = WidenAsciiPrefix(Bytes.substr(pos), out.data() + written);
        pos += ascii;
        written += ascii;
        if (pos == Bytes.size()) break;
        const Decoded d = DecodeOne(Bytes, pos);
        if (!d.Valid) {
            for (const std::size_t end = pos + d.Length; pos < end; ++pos)
                out[written++] = static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(Bytes[pos]));
            continue;
        }
        if (d.CodePoint >= 0x10000) {
            out[written++] = static_cast<char16_t>(0xD800 + ((d.CodePoint - 0x10000) >> 10));
            out[written++] = static_cast<char16_t>(0xDC00 + ((d.CodePoint - 0x10000) & 0x3FF));
        } else {
            out[written++] = static_cast<char16_t>(d.CodePoint);
        }
        pos += d.Length;
    }
    out.resize(written);
    return out;
}

std::string EncodeUtf8RestoringBytes(std::u16string_view Text) { return Encode(Text, true); }

}  // namespace seedlens::platform
