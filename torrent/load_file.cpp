// Reading a torrent file into memory, then loading it.

#include "bencode/memory_stream.h"
#include "platform/file_names.h"
#include "platform/read_only_file.h"
#include "torrent/file_bytes.h"
#include "torrent/load_error.h"
#include "torrent/torrent_file.h"

namespace seedlens {

namespace {

// An open file, as FileBytes reads it.
class OpenFile final : public ByteSource {
public:
    explicit OpenFile(platform::ReadOnlyFile& File) : FFile(File) {}
    std::int64_t Size() const override { return FFile.Size(); }
    std::int64_t Read(void* Buffer, std::size_t Count) override { return FFile.Read(Buffer, Count); }

private:
    platform::ReadOnlyFile& FFile;
};

}  // namespace

void TTorrentFile::LoadFile(std::u16string_view Path) {
    auto file = platform::ReadOnlyFile::Open(Path);
    if (!file) throw LoadError("Cannot open the file");
    OpenFile source(*file);
    const FileBytes bytes(source);
    // Closed before parsing: the file is held no longer than reading takes.
    file.reset();
    MemoryStream stream(bytes.View());
    LoadStream(stream);
}

void TTorrentFile::LoadFile(std::string_view NarrowPath) { LoadFile(platform::FileNameFromNarrow(NarrowPath)); }

void TTorrentFile::LoadFileHandle(platform::ReadOnlyFile& File) {
    OpenFile source(File);
    const FileBytes bytes(source);
    MemoryStream stream(bytes.View());
    LoadStream(stream);
}

}  // namespace seedlens
