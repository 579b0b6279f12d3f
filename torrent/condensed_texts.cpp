// Two one-line texts condensed from the document's lists for a single
// column each: the error summary and the first tracker's host.

#include "platform/code_pages.h"
#include "torrent/torrent_file.h"

namespace seedlens {

std::string TTorrentFile::ErrorString() const {
    std::u16string text;
    for (const std::u16string& message : Errors) {
        text += message;
        text += u';';
    }
    return platform::Utf16ToNarrow(text);
}

std::string TTorrentFile::TrackerShort() const {
    if (Trackers.Empty()) return {};
    std::u16string address = platform::Utf8ToUtf16(FirstTracker);
    if (const auto slashes = address.find(u"//"); slashes != std::u16string::npos) address.erase(0, slashes + 2);

    // The authority ends where a path, query or fragment begins, so that a
    // passkey in a query never shows as the host.
    std::u16string_view authority = address;
    authority = authority.substr(0, authority.find_first_of(u"/?#"));
    // User information ("user:password@") is not the host.
    if (const auto at = authority.rfind(u'@'); at != std::u16string_view::npos) authority.remove_prefix(at + 1);
    // A bracketed IPv6 address keeps its colons.
    if (!authority.empty() && authority.front() == u'[') {
        if (const auto close = authority.find(u']'); close != std::u16string_view::npos)
            return platform::Utf16ToNarrow(authority.substr(0, close + 1));
    }
    return platform::Utf16ToNarrow(authority.substr(0, authority.find(u':')));
}

}  // namespace seedlens
