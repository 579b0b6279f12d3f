#pragma once
// A whole file in memory. Small files are read onto the stack; what is no
// torrent is refused after that first small block, before any buffer is
// sized for it; a file that grows while it is read is refused as soon as
// the bytes read pass the limit, before room is made for them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "torrent/torrent_file.h"

namespace seedlens {

// What FileBytes reads: an open file, or a stand-in for one.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The size the source had when it was opened.
    virtual std::int64_t Size() const = 0;
    // Reads up to Count bytes: the number read, 0 at the end, -1 on failure.
    // Only regular files are read, and those read short only at their end.
    virtual std::int64_t Read(void* Buffer, std::size_t Count) = 0;
};

class FileBytes {
public:
    // Reads Source from its first byte to its end; throws LoadError.
    explicit FileBytes(ByteSource& Source);
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::string_view View() const { return {FBytes, FLength}; }

private:
    struct FreeBytes {
        void operator()(char* Bytes) const noexcept { std::free(Bytes); }
    };

    void ReadRest(ByteSource& Source);
    void MoveToHeap(std::size_t Capacity);
    void Grow(std::size_t Needed);

    // Left uninitialised, since the reads fill it. Once the bytes are on the
    // heap, it takes what a full buffer reads next.
    std::array<char, TTorrentFile::kStackReadBytes> FOnStack;
    std::unique_ptr<char, FreeBytes> FOnHeap;
    char* FBytes = FOnStack.data();
    std::size_t FCapacity = FOnStack.size();
    std::size_t FLength = 0;
};

}  // namespace seedlens
