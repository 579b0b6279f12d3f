// Turning one raw text of the torrent into UTF-8.

#include "platform/code_pages.h"
#include "torrent/declared_encoding.h"
#include "torrent/torrent_file.h"
#include "torrent/utf8_validity.h"

namespace seedlens {

std::string TTorrentFile::DecodeString(std::string_view Raw) const {
    std::string text;
    DecodeStringInto(Raw, text);
    return text;
}

void TTorrentFile::DecodeStringInto(std::string_view Raw, std::string& Out) const {
    // Valid UTF-8 wins over any declaration: ASCII always ends here.
    if (IsValidUTF8(Raw.data(), static_cast<std::int64_t>(Raw.size()))) {
        Out.assign(Raw);
        return;
    }
    Out = DecodeLegacy(Raw);
}

std::string TTorrentFile::DecodeLegacy(std::string_view Raw) const {
    if (ParseOptions.Has(TParseOptionsKind::poFindEncoding)) {
        if (const auto codePage = DeclaredCodePage(Encoding)) {
            // A code page this platform cannot convert from is read like an
            // undeclared one rather than shown as nothing.
            if (auto decoded = CodePageToUTF8(Raw, *codePage)) return std::move(*decoded);
        }
    }
    return platform::Utf16ToUtf8(platform::LegacyToUtf16(Raw));
}

}  // namespace seedlens
