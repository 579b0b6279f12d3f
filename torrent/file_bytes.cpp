#include "torrent/file_bytes.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "torrent/load_error.h"

namespace seedlens {

namespace {

constexpr auto kMaxBytes = static_cast<std::size_t>(TTorrentFile::MaxFileBytes);

std::size_t ReadBlock(ByteSource& Source, char* To, std::size_t Count) {
    const std::int64_t n = Source.Read(To, Count);
    if (n < 0) throw LoadError("The file cannot be read");
    return static_cast<std::size_t>(n);
}

}  // namespace

FileBytes::FileBytes(ByteSource& Source) {
    if (Source.Size() > TTorrentFile::MaxFileBytes) throw LoadError("The file is too large");
    FLength = ReadBlock(Source, FBytes, FCapacity);
    if (FLength == 0) return;
    // A torrent is a dictionary; nothing else is worth reading on.
    if (FBytes[0] != 'd' && FBytes[0] != 'l') throw LoadError("Parser error code: 8");
    if (FLength < FCapacity) return;
    // A byte to spare beyond the size: a file that grew since it was opened
    // fills its buffer.
    const auto size = static_cast<std::size_t>(Source.Size());
    MoveToHeap(std::min(std::max(size + 1, 2 * FLength), kMaxBytes));
    ReadRest(Source);
}

void FileBytes::ReadRest(ByteSource& Source) {
    for (;;) {
        if (FLength == FCapacity) {
            // The file grew: its next bytes go onto the stack first, and only
            // bytes within the limit get room on the heap.
            const std::size_t more = ReadBlock(Source, FOnStack.data(), FOnStack.size());
            if (more == 0) return;
            if (more > kMaxBytes - FLength) throw LoadError("The file is too large");
            Grow(FLength + more);
            std::memcpy(FBytes + FLength, FOnStack.data(), more);
            FLength += more;
            if (more < FOnStack.size()) return;
            continue;
        }
        const std::size_t room = FCapacity - FLength;
        const std::size_t n = ReadBlock(Source, FBytes + FLength, room);
        FLength += n;
        if (n < room) return;
    }
}

void FileBytes::MoveToHeap(std::size_t Capacity) {
    FOnHeap.reset(static_cast<char*>(std::malloc(Capacity)));
    if (!FOnHeap) throw std::bad_alloc();
    std::memcpy(FOnHeap.get(), FBytes, FLength);
    FBytes = FOnHeap.get();
    FCapacity = Capacity;
}

// realloc rather than a new buffer and a copy: a large block grows by
// remapping its pages where the C library can, so a buffer near the limit
// and its copy never take memory together.
void FileBytes::Grow(std::size_t Needed) {
    const std::size_t grown = std::min(std::max(2 * FCapacity, Needed), kMaxBytes);
    char* larger = static_cast<char*>(std::realloc(FOnHeap.get(), grown));
    if (larger == nullptr) throw std::bad_alloc();
    static_cast<void>(FOnHeap.release());  // realloc has taken the old block
    FOnHeap.reset(larger);
    FBytes = larger;
    FCapacity = grown;
}

}  // namespace seedlens
