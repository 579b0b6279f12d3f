// Code pages on POSIX: the UTF codec and Windows-1252 are our own code;
// other Windows code pages go through the C library's iconv. Converters are
// opened once and shared under a lock (an iconv descriptor has state). The
// process locale belongs to the host and is never touched.

#include <iconv.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>

#include "platform/code_pages.h"
#include "platform/utf_codec.h"
#include "platform/windows1252.h"

namespace seedlens::platform {

namespace {

constexpr std::uint32_t kWindows1252 = 1252;
constexpr char16_t kReplacement = 0xFFFD;

std::atomic<std::uint32_t> gLegacyForTesting{0};

// iconv names the Windows code pages that glibc knows by another name; the
// rest it knows as "CP" and the number.
std::string IconvName(std::uint32_t CodePage) {
    static constexpr struct {
        std::uint32_t CodePage;
        const char* Name;
    } kOtherNames[] = {
        {1252, "WINDOWS-1252"}, {54936, "GB18030"},     {20932, "EUC-JP"},      {20866, "KOI8-R"},
        {21866, "KOI8-U"},      {10000, "MACINTOSH"},   {28592, "ISO-8859-2"},  {28593, "ISO-8859-3"},
        {28594, "ISO-8859-4"},  {28595, "ISO-8859-5"},  {28596, "ISO-8859-6"},  {28597, "ISO-8859-7"},
        {28598, "ISO-8859-8"},  {28599, "ISO-8859-9"},  {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"},
    };
    for (const auto& other : kOtherNames)
        if (other.CodePage == CodePage) return other.Name;
    return "CP" + std::to_string(CodePage);
}

class IconvConverters {
public:
    ~IconvConverters() {
        for (auto& [codePage, cd] : FOpen)
            if (cd != Unavailable()) iconv_close(cd);
    }

    std::optional<std::u16string> Decode(std::string_view Bytes, std::uint32_t CodePage) {
        const std::lock_guard lock(FMutex);
        iconv_t cd = Converter(CodePage);
        if (cd == Unavailable()) return std::nullopt;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state

        // No code page yields more UTF-16 units than it has bytes, plus a
        // pair for a character outside the BMP made of one byte, which none has.
        std::u16string out(Bytes.size() + 2, u'\0');
        char* in = const_cast<char*>(Bytes.data());
        std::size_t inLeft = Bytes.size();
        std::size_t written = 0;
        // Some converters hold a character back until they know what follows
        // (Windows-1258 waits for a combining mark): ask for it before a
        // reset and at the end.
        const auto flush = [&] {
            for (;;) {
                char* outPtr = reinterpret_cast<char*>(out.data() + written);
                std::size_t outLeft = (out.size() - written) * sizeof(char16_t);
                const std::size_t result = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
                written = out.size() - outLeft / sizeof(char16_t);
                if (result != static_cast<std::size_t>(-1) || errno != E2BIG) return;
                out.resize(out.size() * 2 + 8);
            }
        };
        while (inLeft > 0) {
            char* outPtr = reinterpret_cast<char*>(out.data() + written);
            std::size_t outLeft = (out.size() - written) * sizeof(char16_t);
            const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
            written = out.size() - outLeft / sizeof(char16_t);
            if (result != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2 + 8);
            } else {
                // An undecodable byte (EILSEQ), or a sequence cut off at the
                // end (EINVAL): one replacement, then go on after it.
                flush();
                if (written + 1 > out.size()) out.resize(out.size() + 8);
                out[written++] = kReplacement;
                ++in;
                --inLeft;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        flush();
        out.resize(written);
        return out;
    }

private:
    static iconv_t Unavailable() { return reinterpret_cast<iconv_t>(-1); }

    iconv_t Converter(std::uint32_t CodePage) {
        auto found = FOpen.find(CodePage);
        if (found != FOpen.end()) return found->second;
        iconv_t cd = iconv_open("UTF-16LE", IconvName(CodePage).c_str());
        FOpen.emplace(CodePage, cd);
        return cd;
    }

    std::mutex FMutex;
    std::map<std::uint32_t, iconv_t> FOpen;
};

IconvConverters& Converters() {
    static IconvConverters converters;
    return converters;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view Bytes) { return DecodeUtf8(Bytes); }
std::string Utf16ToUtf8(std::u16string_view Text) { return EncodeUtf8(Text); }

std::u16string LegacyToUtf16(std::string_view Bytes) {
    const std::uint32_t codePage = gLegacyForTesting.load(std::memory_order_relaxed);
    if (codePage == 0 || codePage == kWindows1252) return DecodeWindows1252(Bytes);
    // Keep every byte, zeros included, as Windows does: convert the runs
    // between zero bytes.
    std::u16string out;
    std::size_t start = 0;
    while (start <= Bytes.size()) {
        const std::size_t zero = std::min(Bytes.find('\0', start), Bytes.size());
        const auto run = Converters().Decode(Bytes.substr(start, zero - start), codePage);
        out += run.value_or(DecodeWindows1252(Bytes.substr(start, zero - start)));
        if (zero == Bytes.size()) break;
        out.push_back(u'\0');
        start = zero + 1;
    }
    return out;
}

std::optional<std::u16string> CodePageToUtf16(std::string_view Bytes, std::uint32_t CodePage) {
    if (CodePage == kWindows1252) return DecodeWindows1252(Bytes);
    return Converters().Decode(Bytes, CodePage);
}

std::u16string NarrowToUtf16(std::string_view Bytes) { return DecodeUtf8(Bytes); }
std::string Utf16ToNarrow(std::u16string_view Text) { return EncodeUtf8(Text); }

std::size_t Utf8ToUtf16Into(std::string_view Utf8, void* Out, std::size_t Capacity) {
    return DecodeUtf8Into(Utf8, Out, Capacity);
}

std::size_t Utf8ToNarrowInto(std::string_view Utf8, char* Out, std::size_t Capacity) {
    return SanitizeUtf8Into(Utf8, Out, Capacity);
}

void SelectLegacyCodePageForTesting(std::uint32_t CodePage) { gLegacyForTesting.store(CodePage); }

}  // namespace seedlens::platform
