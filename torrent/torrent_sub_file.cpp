#include "torrent/torrent_sub_file.h"

namespace seedlens {

void TTorrentSubFile::Add(std::string Element) {
    if (FCount == 0)
        FFirst = std::move(Element);
    else
        FOthers.push_back(std::move(Element));
    ++FCount;
}

const std::string& TTorrentSubFile::Path(std::int32_t Index) const {
    static const std::string kNone;
    if (Index < 0 || Index >= FCount) return kNone;
    return Index == 0 ? FFirst : FOthers[static_cast<std::size_t>(Index - 1)];
}

std::string TTorrentSubFile::FileName() const { return Path(FCount - 1); }

std::string TTorrentSubFile::PathName() const {
    std::string out;
    for (std::int32_t i = 0; i + 1 < FCount; ++i) {
        out += Path(i);
        out += '\\';
    }
    return out;
}

std::size_t TTorrentSubFile::HeldBytes() const {
    std::size_t bytes = FFirst.capacity() + FOthers.capacity() * sizeof(std::string);
    for (const std::string& element : FOthers) bytes += element.capacity();
    return bytes;
}

}  // namespace seedlens
