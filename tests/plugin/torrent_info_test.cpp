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
    const auto info = TTorrentInfo::Shared(doc);
    EXPECT_EQ(info->Comment(), std::string(TTorrentInfo::MaxTextBytes - 1, 'a'));  // the euro sign did not fit
    EXPECT_EQ(info->Creator().size(), TTorrentInfo::MaxTextBytes);
    EXPECT_EQ(info->Name(), "short");
}

TEST(TorrentInfo, CopiesTheDocumentsValues) {
    TTorrentFile doc;
    doc.Clear();
    doc.Trackers.Add(u"http://user@host:1/a");
    doc.FirstTracker = "http://user@host:1/a";
    doc.Errors.Add(u"Missing or corrupt 'info' segment.");
    doc.TotalSize = 5;
    doc.PrivateTorrent = 1;
    const auto info = TTorrentInfo::Shared(doc);
    EXPECT_EQ(info->TrackerShort(), "host");
    EXPECT_EQ(info->ErrorString(), "Missing or corrupt 'info' segment.;");
    EXPECT_EQ(info->Hash(), "");
    EXPECT_EQ(info->TotalSize, 5);
    EXPECT_EQ(info->PrivateTorrent, 1);
    EXPECT_EQ(info->Multifile, -1);
}

// Every text sits in the record's own allocation, one after another: each
// must come back whole whatever the lengths around it, none at all included.
TEST(TorrentInfo, EveryTextComesBackWholeFromOneBuffer) {
    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{300}}) {
        TTorrentFile doc;
        doc.SetTorrentName(std::string(length, 'n'));
        doc.FirstTracker = "udp://" + std::string(length, 't') + ":80";
        doc.Trackers.Add(u"x");
        doc.Creator = std::string(length, 'c');
        doc.Hash = std::string(40, 'f');
        doc.Comment = std::string(length, 'm');
        doc.Encoding = "UTF-8";
        const auto info = TTorrentInfo::Shared(doc);
        EXPECT_EQ(info->Name(), doc.TorrentName());
        EXPECT_EQ(info->FirstTracker(), doc.FirstTracker);
        EXPECT_EQ(info->TrackerShort(), std::string(length, 't'));
        EXPECT_EQ(info->Creator(), doc.Creator);
        EXPECT_EQ(info->Hash(), doc.Hash);
        EXPECT_EQ(info->Comment(), doc.Comment);
        EXPECT_EQ(info->Encoding(), "UTF-8");
        EXPECT_EQ(info->ErrorString(), "");
    }
}

}  // namespace
}  // namespace seedlens
