#pragma once
// The values the fields show for one file, kept in the cache. Texts are
// UTF-8 and at most MaxTextBytes long: no host shows more, and a hostile
// comment of hundreds of megabytes must not live in the host's memory.

#include <cstddef>
#include <cstdint>
#include <string>

#include "torrent/torrent_file.h"

namespace seedlens {

struct TTorrentInfo {
    static constexpr std::size_t MaxTextBytes = 64 * 1024;

    // The values of a loaded document, texts cut on a character boundary.
    static TTorrentInfo From(const TTorrentFile& Document);

    std::string Name;
    std::int64_t TotalSize = 0;
    std::int32_t FileCount = 0;
    std::int32_t BlockSize = 0;
    std::int32_t BlockCount = 0;
    std::string FirstTracker;
    TDateTime Created = 0;
    std::string Creator;
    std::string Hash;
    std::string Comment;
    std::string Encoding;  // the raw bytes of "encoding"
    std::int32_t Multifile = 0;
    std::int32_t PrivateTorrent = 0;
    std::string ErrorString;
    std::string TrackerShort;
};

}  // namespace seedlens
