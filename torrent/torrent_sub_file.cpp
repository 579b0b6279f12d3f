#include "torrent/torrent_sub_file.h"

namespace seedlens {

const std::string& TTorrentSubFile::Path(std::int32_t Index) const {
    static const std::string kNone;
    if (Index < 0 || static_cast<std::size_t>(Index) >= FPath.size()) return kNone;
    return FPath[static_cast<std::size_t>(Index)];
}

std::string TTorrentSubFile::FileName() const { return FPath.empty() ? std::string() : FPath.back(); }

std::string TTorrentSubFile::PathName() const {
    std::string out;
    for (std::size_t i = 0; i + 1 < FPath.size(); ++i) {
        out += FPath[i];
        out += '\\';
    }
    return out;
}

}  // namespace seedlens
