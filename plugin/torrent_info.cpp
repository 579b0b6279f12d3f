#include "plugin/torrent_info.h"

namespace seedlens {

namespace {

// At most MaxTextBytes of Text, never ending inside a UTF-8 sequence.
std::string_view Bounded(std::string_view Text) {
    if (Text.size() <= TTorrentInfo::MaxTextBytes) return Text;
    std::size_t cut = TTorrentInfo::MaxTextBytes;
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(Text[cut]) & 0xC0) == 0x80; ++back) --cut;
    return Text.substr(0, cut);
}

}  // namespace

TTorrentInfo::TTorrentInfo(const Texts& Values) {
    const std::array<std::string_view, kTextCount> texts = {
        Bounded(Values.Name),    Bounded(Values.FirstTracker), Bounded(Values.TrackerShort),
        Bounded(Values.Creator), Bounded(Values.Hash),         Bounded(Values.Comment),
        Bounded(Values.Encoding), Bounded(Values.ErrorString)};
    std::size_t total = 0;
    for (const std::string_view text : texts) total += text.size();
    if (total > FInlineTexts.size()) FHeapTexts = std::make_unique_for_overwrite<char[]>(total);
    char* to = FHeapTexts ? FHeapTexts.get() : FInlineTexts.data();
    std::size_t end = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i].copy(to + end, texts[i].size());
        end += texts[i].size();
        FEnds[i] = static_cast<std::uint32_t>(end);
    }
}

TTorrentInfo::TTorrentInfo(const TTorrentFile& Document)
    : TTorrentInfo(Texts{.Name = Document.TorrentName(),
                         .FirstTracker = Document.FirstTracker,
                         .TrackerShort = Document.TrackerHost(),
                         .Creator = Document.Creator,
                         .Hash = Document.Hash,
                         .Comment = Document.Comment,
                         .Encoding = Document.Encoding,
                         .ErrorString = Document.ErrorSummary()}) {
    TotalSize = Document.TotalSize;
    FileCount = Document.FileCount();
    BlockSize = Document.BlockSize;
    BlockCount = Document.BlockCount;
    Created = Document.Created;
    Multifile = Document.Multifile;
    PrivateTorrent = Document.PrivateTorrent;
}

}  // namespace seedlens
