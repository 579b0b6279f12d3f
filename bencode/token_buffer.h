#pragma once
// Room for a tree's tokens. Every value takes at least two bytes, so a tree
// never needs more tokens than half its input (plus the containers left
// open when the input breaks off): that bound is known before reading.
// A small tree's tokens go into a block recycled between loads; a larger
// tree moves once into room reserved for the whole bound, of which only
// what it fills ever takes memory.

#include <cstddef>

#include "bencode/bencoded.h"

namespace seedlens {

class TokenBuffer {
public:
    TokenBuffer() = default;
    ~TokenBuffer() { Release(); }
    TokenBuffer(const TokenBuffer&) = delete;
    TokenBuffer& operator=(const TokenBuffer&) = delete;

    // Starts afresh for a tree of at most Bound tokens.
    void Reserve(std::size_t Bound);
    // Keeps the first Size tokens and makes room for more.
    void Grow(std::size_t Size);

    BEncodeToken* Data() const { return FTokens; }
    std::size_t Capacity() const { return FCapacity; }

private:
    void Release() noexcept;

    BEncodeToken* FTokens = nullptr;
    std::size_t FCapacity = 0;  // tokens usable
    std::size_t FReserved = 0;  // tokens reserved, when not pooled
    std::size_t FBound = 0;
    bool FPooled = false;
};

}  // namespace seedlens
