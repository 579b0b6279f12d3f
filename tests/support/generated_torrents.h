#pragma once
// Larger torrents made on the fly, shared by tests and benchmarks.

#include <cstddef>
#include <string>

namespace seedlens::test {

// A single-file torrent whose "pieces" string has PiecesBytes bytes.
std::string TorrentWithPieces(std::size_t PiecesBytes);

// A multi-file torrent listing FileCount files in nested folders.
std::string TorrentWithFiles(std::size_t FileCount);

}  // namespace seedlens::test
