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

void TTorrentFile::LoadFile(std::u16string_view Path) {
    const auto file = platform::ReadOnlyFile::Open(Path);
    if (!file) throw LoadError("Cannot open the file");
    LoadFileHandle(*file);
}

void TTorrentFile::LoadFile(std::string_view NarrowPath) { LoadFile(platform::NarrowToUtf16(NarrowPath)); }

void TTorrentFile::LoadFileHandle(platform::ReadOnlyFile& File) {
    if (File.Size() > MaxFileBytes) throw LoadError("The file is too large");
    // Sized from the file, with a byte to spare to notice a file that grew;
    // most torrents are small enough to be read onto the stack. Left
    // uninitialised, since the reads fill it.
    std::array<char, kStackReadBytes> onStack;
    std::unique_ptr<char[]> onHeap;
    char* bytes = onStack.data();
    std::size_t capacity = static_cast<std::size_t>(File.Size()) + 1;
    if (capacity > onStack.size()) {
        onHeap = std::make_unique_for_overwrite<char[]>(capacity);
        bytes = onHeap.get();
    } else {
        capacity = onStack.size();
    }
    std::size_t length = 0;
    for (;;) {
        if (length == capacity) {
            if (capacity > static_cast<std::size_t>(MaxFileBytes)) throw LoadError("The file is too large");
            const std::size_t grown = std::min(capacity * 2, static_cast<std::size_t>(MaxFileBytes) + 1);
            auto larger = std::make_unique_for_overwrite<char[]>(grown);
            std::copy_n(bytes, length, larger.get());
            onHeap = std::move(larger);
            bytes = onHeap.get();
            capacity = grown;
        }
        const std::size_t wanted = capacity - length;
        const std::int64_t n = File.Read(bytes + length, wanted);
        if (n < 0) throw LoadError("The file cannot be read");
        if (n == 0) break;
        // A torrent is a dictionary; nothing else is worth reading on.
        if (length == 0 && bytes[0] != 'd' && bytes[0] != 'l')
            throw LoadError("Parser error code: 8");
        length += static_cast<std::size_t>(n);
        // Only regular files are read, and those read short only at their
        // end: no further call is needed to find it.
        if (static_cast<std::size_t>(n) < wanted) break;
    }
    MemoryStream stream(std::string_view(bytes, length));
    LoadStream(stream);
}

}  // namespace seedlens
