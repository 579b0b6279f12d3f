// Reading a torrent file into memory, then loading it.

#include <algorithm>
#include <array>
#include <memory>

#include "bencode/memory_stream.h"
#include "platform/code_pages.h"
#include "platform/read_only_file.h"
#include "torrent/load_error.h"
#include "torrent/torrent_file.h"

namespace seedlens {

namespace {

// The whole of a file in memory: most torrents are small enough to be read
// onto the stack; larger ones get a buffer sized from the file.
class FileBytes {
public:
    // Reads File from its first byte to its end; throws LoadError.
    explicit FileBytes(platform::ReadOnlyFile& File);
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::string_view View() const { return {FBytes, FLength}; }

private:
    void Grow();

    // Left uninitialised, since the reads fill it.
    std::array<char, TTorrentFile::kStackReadBytes> FOnStack;
    std::unique_ptr<char[]> FOnHeap;
    char* FBytes = FOnStack.data();
    std::size_t FCapacity = FOnStack.size();
    std::size_t FLength = 0;
};

FileBytes::FileBytes(platform::ReadOnlyFile& File) {
    if (File.Size() > TTorrentFile::MaxFileBytes) throw LoadError("The file is too large");
    // A byte to spare, to notice a file that grew since it was opened.
    const std::size_t wanted = static_cast<std::size_t>(File.Size()) + 1;
    if (wanted > FCapacity) {
        FOnHeap = std::make_unique_for_overwrite<char[]>(wanted);
        FBytes = FOnHeap.get();
        FCapacity = wanted;
    }
    for (;;) {
        if (FLength == FCapacity) Grow();
        const std::size_t room = FCapacity - FLength;
        const std::int64_t n = File.Read(FBytes + FLength, room);
        if (n < 0) throw LoadError("The file cannot be read");
        if (n == 0) break;
        // A torrent is a dictionary; nothing else is worth reading on.
        if (FLength == 0 && FBytes[0] != 'd' && FBytes[0] != 'l') throw LoadError("Parser error code: 8");
        FLength += static_cast<std::size_t>(n);
        // Only regular files are read, and those read short only at their
        // end: no further call is needed to find it.
        if (static_cast<std::size_t>(n) < room) break;
    }
}

void FileBytes::Grow() {
    constexpr auto kMax = static_cast<std::size_t>(TTorrentFile::MaxFileBytes);
    if (FCapacity > kMax) throw LoadError("The file is too large");
    const std::size_t grown = std::min(FCapacity * 2, kMax + 1);
    auto larger = std::make_unique_for_overwrite<char[]>(grown);
    std::copy_n(FBytes, FLength, larger.get());
    FOnHeap = std::move(larger);
    FBytes = FOnHeap.get();
    FCapacity = grown;
}

}  // namespace

void TTorrentFile::LoadFile(std::u16string_view Path) {
    auto file = platform::ReadOnlyFile::Open(Path);
    if (!file) throw LoadError("Cannot open the file");
    const FileBytes bytes(*file);
    // Closed before parsing: the file is held no longer than reading takes.
    file.reset();
    MemoryStream stream(bytes.View());
    LoadStream(stream);
}

void TTorrentFile::LoadFile(std::string_view NarrowPath) { LoadFile(platform::NarrowToUtf16(NarrowPath)); }

void TTorrentFile::LoadFileHandle(platform::ReadOnlyFile& File) {
    const FileBytes bytes(File);
    MemoryStream stream(bytes.View());
    LoadStream(stream);
}

}  // namespace seedlens
