#include "torrent/magnet_link.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>

#include "platform/code_pages.h"
#include "torrent/torrent_file.h"

namespace seedlens {

namespace {

constexpr std::string_view kScheme = "magnet:?";

// What libtorrent leaves as it is; every other byte becomes "%" and two
// lowercase hex digits.
constexpr std::array<bool, 256> kUnreserved = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                   c == '_' || c == '.' || c == '!' || c == '~' || c == '*' || c == '(' || c == ')';
    return table;
}();

// Units are UTF-8 bytes, or UTF-16 units of an ASCII text.
template <typename Unit>
void AppendEscaped(std::string& Out, std::basic_string_view<Unit> Text) {
    static constexpr char kHex[] = "0123456789abcdef";
    // Room for the longest escaping first, so that no byte pays for a check.
    const std::size_t start = Out.size();
    Out.resize(start + 3 * Text.size());
    char* to = Out.data() + start;
    for (const Unit unit : Text) {
        const auto byte = static_cast<unsigned char>(unit);
        if (kUnreserved[byte]) {
            *to++ = static_cast<char>(byte);
        } else {
            to[0] = '%';
            to[1] = kHex[byte >> 4];
            to[2] = kHex[byte & 15];
            to += 3;
        }
    }
    Out.resize(static_cast<std::size_t>(to - Out.data()));
}

template <typename Unit>
bool IsAscii(std::basic_string_view<Unit> Text) {
    for (const Unit unit : Text)
        if (static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Unit>>(unit)) >= 0x80) return false;
    return true;
}

// Adds parameters while they fit; once one does not, none after it does.
class LinkWriter {
public:
    // Room for the hashes and a usual name and trackers in one allocation.
    explicit LinkWriter(std::size_t MaxBytes) : FMax(MaxBytes) {
        FLink.reserve(std::min<std::size_t>(MaxBytes, 512));
        FLink = kScheme;
    }

    // Text: UTF-8, or UTF-16 of which ASCII is escaped without converting.
    template <typename Unit>
    void Add(std::string_view Key, std::basic_string_view<Unit> Text) {
        if (FFull) return;
        // Each unit escapes to a byte or more: a text longer than the room
        // left cannot fit, and is not escaped to find that out.
        if (Text.size() > FMax - std::min(FMax, FLink.size())) {
            FFull = true;
            return;
        }
        if constexpr (sizeof(Unit) == 2) {
            if (!IsAscii(Text)) return Add(Key, std::string_view(platform::Utf16ToUtf8(Text)));
        }
        const std::size_t before = FLink.size();
        if (before > kScheme.size()) FLink += '&';
        FLink += Key;
        FLink += '=';
        AppendEscaped(FLink, Text);
        if (FLink.size() <= FMax) return;
        FLink.resize(before);
        FFull = true;
    }
    bool AddRaw(std::string_view Key, std::string_view Prefix, std::string_view Hex) {
        if (FLink.size() > kScheme.size()) FLink += '&';
        FLink += Key;
        FLink += '=';
        FLink += Prefix;
        FLink += Hex;
        return FLink.size() <= FMax;
    }

    std::string Take() { return std::move(FLink); }

private:
    std::size_t FMax;
    std::string FLink;
    bool FFull = false;
};

}  // namespace

std::string MagnetLink(const TTorrentFile& Document, std::size_t MaxBytes) {
    if (Document.Format().empty()) return {};
    LinkWriter link(MaxBytes);
    if (!Document.V2Only && (Document.Hash.empty() || !link.AddRaw("xt", "urn:btih:", Document.Hash))) return {};
    if (Document.HasFileTree &&
        (Document.Sha256Hash.empty() || !link.AddRaw("xt", "urn:btmh:1220", Document.Sha256Hash)))
        return {};

    // The name as the Name column shows it: up to a zero byte, ill-formed
    // UTF-8 replaced.
    std::string_view name = Document.TorrentName();
    name = name.substr(0, name.find('\0'));
    if (!name.empty()) {
        if (IsAscii(name))
            link.Add("dn", name);
        else
            link.Add("dn", std::string_view(platform::Utf16ToUtf8(platform::Utf8ToUtf16(name))));
    }
    for (const std::u16string_view tracker : Document.Trackers)
        if (!tracker.empty()) link.Add("tr", tracker);
    for (const std::u16string_view seed : Document.UrlSeeds)
        if (!seed.empty()) link.Add("ws", seed);
    return link.Take();
}

std::size_t MagnetPrefix(std::string_view Link, std::size_t Room) {
    // Every "&" of a link separates two parameters: values have theirs escaped.
    std::size_t hashesEnd = Link.size();
    for (std::size_t at = Link.find('&'); at != std::string_view::npos; at = Link.find('&', at + 1)) {
        if (Link.substr(at + 1, 3) != "xt=") {
            hashesEnd = at;
            break;
        }
    }
    if (Room < hashesEnd) return 0;
    if (Room >= Link.size()) return Link.size();
    // An "&" at Room itself ends a prefix of exactly Room bytes.
    const std::size_t end = Link.rfind('&', Room);
    return end == std::string_view::npos || end < hashesEnd ? hashesEnd : end;
}

}  // namespace seedlens
