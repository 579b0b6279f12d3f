// A cache record keeps at most 64 KiB of each text, cut between characters.

#include <gtest/gtest.h>

#include "plugin/torrent_info.h"

namespace seedlens {
namespace {

TEST(TorrentInfo, TextsAreBoundedOnCharacterBoundaries) {
    TTorrentFile doc;
    doc.Comment = std::string(TTorrentInfo::MaxTextBytes - 1, 'a') + "\xE2\x82\xAC" + std::string(1000000, 'b');
    doc.Creator = std::string(TTorrentInfo::MaxTextBytes, 'c');
    doc.SetTorrentName("short");
    const TTorrentInfo info(doc);
    EXPECT_EQ(info.Comment(), std::string(TTorrentInfo::MaxTextBytes - 1, 'a'));  // the euro sign did not fit
    EXPECT_EQ(info.Creator().size(), TTorrentInfo::MaxTextBytes);
    EXPECT_EQ(info.Name(), "short");
}

TEST(TorrentInfo, CopiesTheDocumentsValues) {
    TTorrentFile doc;
    doc.Clear();
    doc.Trackers.Add(u"http://user@host:1/a");
    doc.FirstTracker = "http://user@host:1/a";
    doc.Errors.Add(u"Missing or corrupt 'info' segment.");
    doc.TotalSize = 5;
    doc.PrivateTorrent = 1;
    const TTorrentInfo info(doc);
    EXPECT_EQ(info.TrackerShort(), "host");
    EXPECT_EQ(info.ErrorString(), "Missing or corrupt 'info' segment.;");
    EXPECT_EQ(info.TotalSize, 5);
    EXPECT_EQ(info.PrivateTorrent, 1);
    EXPECT_EQ(info.Multifile, -1);
}

}  // namespace
}  // namespace seedlens
