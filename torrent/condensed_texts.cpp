// Two one-line texts condensed from the document's lists for a single
// column each: the error summary and the first tracker's host.

#include "platform/code_pages.h"
#include "torrent/torrent_file.h"

namespace seedlens {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSchemeChar(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// Where the authority begins: after a leading "//", or after a scheme and
// "://". A "//" further on belongs to the path of an address written
// without a scheme, so the whole address is then the authority.
std::size_t AuthorityStart(std::string_view Address) {
    std::size_t schemeEnd = 0;
    if (!Address.empty() && IsAsciiLetter(Address[0])) {
        schemeEnd = 1;
        while (schemeEnd < Address.size() && IsSchemeChar(Address[schemeEnd])) ++schemeEnd;
        schemeEnd = schemeEnd < Address.size() && Address[schemeEnd] == ':' ? schemeEnd + 1 : 0;
    }
    return Address.substr(schemeEnd, 2) == "//" ? schemeEnd + 2 : 0;
}

}  // namespace

std::string TTorrentFile::ErrorSummary() const {
    std::string text;
    for (const std::u16string_view message : Errors) {
        text += platform::Utf16ToUtf8(message);
        text += ';';
    }
    return text;
}

std::string TTorrentFile::ErrorString() const { return platform::Utf16ToNarrow(platform::Utf8ToUtf16(ErrorSummary())); }

std::string_view TTorrentFile::TrackerHost() const {
    if (Trackers.Empty()) return {};
    // Every delimiter is ASCII, which never occurs inside a multi-byte UTF-8
    // character: cutting the UTF-8 bytes cuts the same characters.
    std::string_view address = FirstTracker;
    address.remove_prefix(AuthorityStart(address));

    // The authority ends where a path, query or fragment begins, so that a
    // passkey in a query never shows as the host. User information
    // ("user:password@") is not the host: it ends at the authority's last "@".
    std::size_t end = 0;
    std::size_t hostStart = 0;
    for (; end < address.size(); ++end) {
        const char c = address[end];
        if (c == '/' || c == '?' || c == '#') break;
        if (c == '@') hostStart = end + 1;
    }
    const std::string_view host = address.substr(hostStart, end - hostStart);
    // A bracketed IPv6 address keeps its colons.
    if (!host.empty() && host.front() == '[') {
        if (const auto close = host.find(']'); close != std::string_view::npos) return host.substr(0, close + 1);
    }
    return host.substr(0, host.find(':'));
}

std::string TTorrentFile::TrackerShort() const { return platform::Utf16ToNarrow(platform::Utf8ToUtf16(TrackerHost())); }

}  // namespace seedlens
