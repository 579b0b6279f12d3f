#pragma once
// A regular file opened for reading without ever blocking: FIFOs, sockets,
// devices and folders are refused at open, and other programs may go on
// reading the file while we do.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/file_state.h"

namespace seedlens::platform {

class ReadOnlyFile {
public:
    // Opens Path; nullptr when it cannot be opened or is no regular file.
    static std::unique_ptr<ReadOnlyFile> Open(std::u16string_view Path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // The size the file had when it was opened.
    std::int64_t Size() const { return FState.Size; }
    // The file's state when it was opened, from the open handle.
    const FileState& State() const { return FState; }
    // Reads up to Count bytes: the number read, 0 at the end, -1 on failure.
    std::int64_t Read(void* Buffer, std::size_t Count);

private:
    ReadOnlyFile(std::intptr_t Handle, const FileState& State) : FHandle(Handle), FState(State) {}
    std::intptr_t FHandle;
    FileState FState;
};

}  // namespace seedlens::platform
