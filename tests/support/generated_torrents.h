#pragma once
// Larger torrents made on the fly, shared by tests and benchmarks.

#include <cstddef>
#include <string>

namespace seedlens::test {

// A single-file torrent whose "pieces" string has PiecesBytes bytes.
std::string TorrentWithPieces(std::size_t PiecesBytes);

// The same as a hybrid v1+v2 torrent: the one file in a "file tree" too.
std::string HybridTorrentWithPieces(std::size_t PiecesBytes);

// A multi-file torrent listing FileCount files in nested folders.
std::string TorrentWithFiles(std::size_t FileCount);

// A v2-only torrent of FileCount files in nested folders, as libtorrent's
// creator writes one: a "file tree" and no "pieces".
std::string V2TorrentWithFiles(std::size_t FileCount);

// A hybrid v1+v2 torrent of FileCount files: a "files" list with a padding
// file after every file but the last, and the same files as a "file tree".
std::string HybridTorrentWithFiles(std::size_t FileCount);

// A small torrent, different for each Index: single- or multi-file, with
// trackers, a comment, sometimes private, a web seed or no date.
std::string SmallTorrent(std::size_t Index);

// Large and hostile shapes, to measure the reader's memory and time.

// A first key holding Lists empty lists ("le" each), then a small single-file
// info: the most nodes per byte.
std::string ManyEmptyListsTorrent(std::size_t Lists);

// A v1 multi-file torrent as creators write one: Files files of about
// 200 KiB spread over Folders folders, 4 MiB pieces, the hashes they need.
std::string RealShapedTorrent(std::size_t Files, std::size_t Folders);

// Trackers distinct trackers, each its own tier of "announce-list".
std::string ManyTrackersTorrent(std::size_t Trackers);

// A small single-file info with Keys unknown integer members besides its own.
std::string ManyInfoIntegersTorrent(std::size_t Keys);

// A "files" list of Entries empty dictionaries.
std::string ManyEmptyFilesEntriesTorrent(std::size_t Entries);

}  // namespace seedlens::test
