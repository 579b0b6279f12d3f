#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_names.h"
#include "platform/file_state_posix.h"
#include "platform/read_only_file.h"

namespace seedlens::platform {

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::Open(std::u16string_view Path) {
    const std::string name = FileNameToNarrow(Path);
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<ReadOnlyFile>(new ReadOnlyFile(fd, StateOf(info)));
}

ReadOnlyFile::~ReadOnlyFile() { ::close(static_cast<int>(FHandle)); }

std::int64_t ReadOnlyFile::Read(void* Buffer, std::size_t Count) {
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(FHandle), Buffer, Count);
        if (n >= 0) return n;
        if (errno != EINTR) return -1;
    }
}

}  // namespace seedlens::platform
