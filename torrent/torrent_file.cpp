#include "torrent/torrent_file.h"

namespace seedlens {

TTorrentFile::TTorrentFile() = default;

void TTorrentFile::Clear() {
    FName.clear();
    FirstTracker.clear();
    Creator.clear();
    Hash.clear();
    Sha256Hash.clear();
    Source.clear();
    Comment.clear();
    Encoding.clear();
    Webseed.clear();
    FFileCount = 0;
    TotalSize = 0;
    BlockSize = 0;
    BlockCount = 0;
    Created = 0;
    Multifile = -1;
    PrivateTorrent = -1;
    V2Only = false;
    HasFileTree = false;
    FBlocks.clear();
    Errors.Clear();
    Trackers.Clear();
    Webseeds.Clear();
    UrlSeeds.Clear();
    CustomFields.Clear();
    Files.clear();
    FErrorFlags = TErrorFlags{TErrorFlagKind::efCorruptInfoBlock};
    FFacts.Clear();
    FFailedChecks = 0;
}

std::size_t TTorrentFile::HeldBytes() const {
    std::size_t bytes = 0;
    for (const std::string* text : {&FName, &FirstTracker, &Creator, &Hash, &Sha256Hash, &Source, &Comment, &Encoding, &Webseed})
        bytes += text->capacity();
    for (const TextList* list : {&Trackers, &Webseeds, &UrlSeeds, &Errors, &CustomFields}) bytes += list->HeldBytes();
    bytes += Files.capacity() * sizeof(TTorrentSubFile) + FBlocks.capacity() * sizeof(std::string);
    for (const TTorrentSubFile& file : Files) bytes += file.HeldBytes();
    for (const std::string& block : FBlocks) bytes += block.capacity();
    return bytes;
}

std::string_view TTorrentFile::Format() const {
    if (FErrorFlags.Has(TErrorFlagKind::efCorruptInfoBlock)) return {};
    if (!HasFileTree) return "v1";
    return V2Only ? "v2" : "hybrid";
}

std::string_view TTorrentFile::Block(std::int32_t Index) const {
    if (Index < 0 || static_cast<std::size_t>(Index) >= FBlocks.size()) return {};
    return FBlocks[static_cast<std::size_t>(Index)];
}

const TTorrentSubFile& TTorrentFile::SubFile(std::int32_t Index) const {
    static const TTorrentSubFile kNone;
    if (Index < 0 || static_cast<std::size_t>(Index) >= Files.size()) return kNone;
    return Files[static_cast<std::size_t>(Index)];
}

}  // namespace seedlens
