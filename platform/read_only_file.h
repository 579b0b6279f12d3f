#pragma once
// A regular file opened for reading without ever blocking: FIFOs, sockets,
// devices and folders are refused at open, and other programs may go on
// reading the file while we do.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace seedlens::platform {

class ReadOnlyFile {
public:
    // Opens Path; nullptr when it cannot be opened or is no regular file.
    static std::unique_ptr<ReadOnlyFile> Open(std::u16string_view Path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // The size the file had when it was opened.
    std::int64_t Size() const { return FSize; }
    // Reads up to Count bytes: the number read, 0 at the end, -1 on failure.
    std::int64_t Read(void* Buffer, std::size_t Count);

private:
    ReadOnlyFile(std::intptr_t Handle, std::int64_t Size) : FHandle(Handle), FSize(Size) {}
    std::intptr_t FHandle;
    std::int64_t FSize;
};

}  // namespace seedlens::platform
