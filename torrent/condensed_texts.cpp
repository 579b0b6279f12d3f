// Two one-line texts condensed from the document's lists for a single
// column each: the error summary and the first tracker's host.

#include "platform/code_pages.h"
#include "torrent/torrent_file.h"

namespace seedlens {

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
    for (std::size_t i = 0; i + 1 < address.size(); ++i) {
        if (address[i] == '/' && address[i + 1] == '/') {
            address.remove_prefix(i + 2);
            break;
        }
    }

    // The authority ends where a path, query or fragment begins, so that a
    // passkey in a query never shows as the host.
    std::size_t end = 0;
    while (end < address.size() && address[end] != '/' && address[end] != '?' && address[end] != '#') ++end;
    std::string_view authority = address.substr(0, end);
    // User information ("user:password@") is not the host.
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    // A bracketed IPv6 address keeps its colons.
    if (!authority.empty() && authority.front() == '[') {
        if (const auto close = authority.find(']'); close != std::string_view::npos)
            return authority.substr(0, close + 1);
    }
    return authority.substr(0, authority.find(':'));
}

std::string TTorrentFile::TrackerShort() const { return platform::Utf16ToNarrow(platform::Utf8ToUtf16(TrackerHost())); }

}  // namespace seedlens
