#include "plugin/torrent_info.h"

#include "platform/code_pages.h"

namespace seedlens {

namespace {

// At most MaxTextBytes of Text, never ending inside a UTF-8 sequence.
std::string Bounded(std::string_view Text) {
    if (Text.size() <= TTorrentInfo::MaxTextBytes) return std::string(Text);
    std::size_t cut = TTorrentInfo::MaxTextBytes;
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(Text[cut]) & 0xC0) == 0x80; ++back) --cut;
    return std::string(Text.substr(0, cut));
}

// The document gives these in the host's 8-bit text; the record keeps UTF-8.
std::string NarrowToUtf8(const std::string& Narrow) {
    return Bounded(platform::Utf16ToUtf8(platform::NarrowToUtf16(Narrow)));
}

}  // namespace

TTorrentInfo TTorrentInfo::From(const TTorrentFile& Document) {
    TTorrentInfo info;
    info.Name = Bounded(Document.TorrentName());
    info.TotalSize = Document.TotalSize;
    info.FileCount = Document.FileCount();
    info.BlockSize = Document.BlockSize;
    info.BlockCount = Document.BlockCount;
    info.FirstTracker = Bounded(Document.FirstTracker);
    info.Created = Document.Created;
    info.Creator = Bounded(Document.Creator);
    info.Hash = Document.Hash;
    info.Comment = Bounded(Document.Comment);
    info.Encoding = Bounded(Document.Encoding);
    info.Multifile = Document.Multifile;
    info.PrivateTorrent = Document.PrivateTorrent;
    info.ErrorString = NarrowToUtf8(Document.ErrorString());
    info.TrackerShort = NarrowToUtf8(Document.TrackerShort());
    return info;
}

}  // namespace seedlens
