#pragma once
// What a path names, found by looking at it and opening it for reading
// without reading a byte: why a file could not be loaded.

#include <cstdint>
#include <string>

namespace seedlens::platform {

enum class PathKind {
    Missing,       // nothing by that name
    AccessDenied,  // there, but not ours to read
    Folder,
    NotRegular,    // a FIFO, socket or device
    Regular,       // a regular file that opens for reading
    Unreadable,    // any other failure; Reason says which
};

struct PathLook {
    PathKind Kind = PathKind::Unreadable;
    std::int64_t Size = 0;  // for a regular file
    std::string Reason;     // the system's words, for Unreadable
};

// Path is UTF-8 (on POSIX any bytes, passed as they are).
PathLook LookAtPath(const std::string& Path);

}  // namespace seedlens::platform
