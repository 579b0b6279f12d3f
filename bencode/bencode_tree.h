#pragma once
// Reading one bencoded value into a tree.

#include <cstddef>
#include <cstdint>

#include "bencode/bencode_error.h"
#include "bencode/bencoded.h"
#include "bencode/memory_stream.h"
#include "bencode/token_buffer.h"

namespace seedlens {

class TBEncodedTree {
public:
    // Deepest nesting of lists and dictionaries that we accept. Real torrents
    // nest fewer than ten levels; the bound keeps hostile input cheap.
    static constexpr int MaxDepth = 512;
    // Most nodes one tree may hold: a torrent listing a million files needs
    // about five million, and each node costs the host 8 bytes.
    static constexpr std::size_t MaxNodes = 8'000'000;

    // Reads exactly one value from Stream's current position; on success the
    // stream stands just past it. Throws BEncodeError or
    // IntegerConversionError. The stream's bytes must outlive the tree.
    explicit TBEncodedTree(MemoryStream& Stream);

    TBEncodedTree(const TBEncodedTree&) = delete;
    TBEncodedTree& operator=(const TBEncodedTree&) = delete;

    TBEncoded Root() const { return {FTokens.Data(), FBase}; }
    std::size_t NodeCount() const { return FNodeCount; }

private:
    friend class BEncodeReader;
    TokenBuffer FTokens;
    const char* FBase = nullptr;
    std::size_t FNodeCount = 0;
};

}  // namespace seedlens
