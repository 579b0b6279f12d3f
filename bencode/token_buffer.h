#pragma once
// Room for a tree's tokens, sized once from the bytes to read: every value
// takes at least two bytes, so a tree never needs more tokens than half its
// input (plus the containers left open when the input breaks off). Room that
// is never written is never touched, so the host pays only for what the
// tree holds. A small tree takes a block recycled between loads instead of
// memory fresh from the system.

#include <cstddef>

#include "bencode/bencoded.h"

namespace seedlens {

class TokenBuffer {
public:
    TokenBuffer() = default;
    ~TokenBuffer() { Release(); }
    TokenBuffer(const TokenBuffer&) = delete;
    TokenBuffer& operator=(const TokenBuffer&) = delete;

    // Room for Count tokens; what was stored before is dropped.
    void Reserve(std::size_t Count);
    // Keeps the first Size tokens and makes room for at least one more.
    void Grow(std::size_t Size);

    BEncodeToken* Data() const { return FTokens; }
    std::size_t Capacity() const { return FCapacity; }

private:
    void Release() noexcept;

    BEncodeToken* FTokens = nullptr;
    std::size_t FCapacity = 0;
    bool FPooled = false;
};

}  // namespace seedlens
