#pragma once
// The magnet link of a torrent: "magnet:?" and its parameters joined by
// "&": the info hashes ("xt"), the name ("dn"), each tracker ("tr") and
// each "url-list" web seed ("ws"). Values are escaped as libtorrent escapes
// them, so that links compare byte for byte with its own.

#include <cstddef>
#include <string>
#include <string_view>

namespace seedlens {

class TTorrentFile;

// The link of a loaded document, at most MaxBytes long: parameters that do
// not fit are left out whole, from the end. Empty without an info dictionary
// or when its hashes do not fit.
std::string MagnetLink(const TTorrentFile& Document, std::size_t MaxBytes);

// The longest prefix of a link made of whole parameters within Room bytes,
// or 0 when not even its info hashes fit: a link is only useful whole.
std::size_t MagnetPrefix(std::string_view Link, std::size_t Room);

}  // namespace seedlens
