#pragma once
// Reading one bencoded value into a tree.

#include <cstddef>
#include <cstdint>

#include "bencode/bencode_error.h"
#include "bencode/bencoded.h"
#include "bencode/entry_arena.h"
#include "bencode/memory_stream.h"

namespace seedlens {

class TBEncodedTree {
public:
    // Deepest nesting of lists and dictionaries that we accept. Real torrents
    // nest fewer than ten levels; the bound keeps hostile input cheap.
    static constexpr int MaxDepth = 512;
    // Most nodes one tree may hold: a torrent listing a million files needs
    // about six million, and each node costs tens of bytes of host memory.
    static constexpr std::size_t MaxNodes = 8'000'000;

    // Reads exactly one value from Stream's current position; on success the
    // stream stands just past it. Throws BEncodeError or
    // IntegerConversionError. The stream's bytes must outlive the tree.
    explicit TBEncodedTree(MemoryStream& Stream);

    // Its first entries live inside it: a tree never moves.
    TBEncodedTree(const TBEncodedTree&) = delete;
    TBEncodedTree& operator=(const TBEncodedTree&) = delete;

    const TBEncoded& Root() const { return FRoot; }
    std::size_t NodeCount() const { return FNodeCount; }

private:
    friend class BEncodeReader;
    EntryArena FEntries;
    TBEncoded FRoot;
    std::size_t FNodeCount = 0;
};

}  // namespace seedlens
