// The tracker's host and the error summary.

#include <gtest/gtest.h>

#include "platform/code_pages.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

struct Hosts {
    std::string Narrow;  // TrackerShort
    std::string Utf8;    // TrackerHost, which the cache record keeps
};

Hosts HostOf(const std::string& FirstTracker) {
    TTorrentFile doc;
    doc.Trackers.Add(u"anything");
    doc.FirstTracker = FirstTracker;
    return {doc.TrackerShort(), std::string(doc.TrackerHost())};
}

TEST(TrackerShort, HostOfEveryShapeOfAddress) {
    struct { const char* Tracker; const char* Host; } cases[] = {
        {"http://host:6969/announce", "host"},
        {"http://host/announce", "host"},
        {"udp://host:80", "host"},
        {"http://host", "host"},
        {"host:80/path", "host"},
        {"scheme:/host/path", "scheme"},
        {"http://host//more", "host"},
        {"//host/path", "host"},
        {"", ""},
        {"http:///path", ""},
        {"http://:80", ""},
        // Decided: user information, queries, fragments and IPv6 brackets.
        {"udp://user:pw@tracker.org:80/announce", "tracker.org"},
        {"http://user@tracker.org/announce", "tracker.org"},
        {"http://a@b@tracker.org", "tracker.org"},
        {"http://[2001:db8::1]:6969/announce", "[2001:db8::1]"},
        {"http://[2001:db8::1]/announce", "[2001:db8::1]"},
        {"http://[2001:db8", "[2001"},  // no closing bracket: cut at the colon
        {"http://host?passkey=secret", "host"},
        {"http://host#frag:1", "host"},
        {"http://трекер.рф:80/announce", "трекер.рф"},
        // "//" after the start or a scheme is part of the path.
        {"tracker.example.com:6969/a//b", "tracker.example.com"},
        {"tracker.example.com//b", "tracker.example.com"},
        {"a b://host/x", "a b"},
        {"1http://host/x", "1http"},
        {"udp+x-1.2://host:1/", "host"},
        {"udp://x:1/", "x"},
        {"h://host", "host"},
        {"http:/x//y", "http"},
    };
    // The host comes in the 8-bit interface's text: UTF-8 on Linux, the
    // active code page (with its replacement characters) on Windows.
    for (const auto& c : cases) {
        const Hosts hosts = HostOf(c.Tracker);
        EXPECT_EQ(hosts.Narrow, platform::Utf16ToNarrow(platform::Utf8ToUtf16(c.Host))) << c.Tracker;
        EXPECT_EQ(hosts.Utf8, c.Host) << c.Tracker;
    }
}

TEST(TrackerShort, EmptyWithoutTrackers) {
    TTorrentFile doc;
    doc.FirstTracker = "http://host/";
    EXPECT_EQ(doc.TrackerShort(), "");
}

TEST(ErrorString, EveryMessageEndsInASemicolon) {
    TTorrentFile doc;
    EXPECT_EQ(doc.ErrorString(), "");
    doc.Errors.Add(u"Missing or corrupt 'info' segment.");
    EXPECT_EQ(doc.ErrorString(), "Missing or corrupt 'info' segment.;");
    doc.Errors.Add(u"Missing or corrupt 'files' segment.");
    EXPECT_EQ(doc.ErrorString(), "Missing or corrupt 'info' segment.;Missing or corrupt 'files' segment.;");
}

}  // namespace
}  // namespace seedlens
