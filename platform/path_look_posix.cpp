#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/path_look.h"

namespace seedlens::platform {

namespace {
PathLook Failed(int Error) {
    if (Error == ENOENT || Error == ENOTDIR) return {PathKind::Missing, 0, {}};
    if (Error == EACCES || Error == EPERM) return {PathKind::AccessDenied, 0, {}};
    return {PathKind::Unreadable, 0, std::strerror(Error)};
}
}  // namespace

PathLook LookAtPath(const std::string& Path) {
    struct stat info {};
    if (::stat(Path.c_str(), &info) != 0) return Failed(errno);
    if (S_ISDIR(info.st_mode)) return {PathKind::Folder, 0, {}};
    if (!S_ISREG(info.st_mode)) return {PathKind::NotRegular, 0, {}};
    // Only opening tells whether we may read it (root and ACLs ignore the mode bits).
    const int fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Failed(errno);
    ::close(fd);
    return {PathKind::Regular, static_cast<std::int64_t>(info.st_size), {}};
}

}  // namespace seedlens::platform
