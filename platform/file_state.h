#pragma once
// What tells one state of a file from the next, so that a value kept for a
// file can be checked against the file as it is now. On POSIX: the size,
// the modification and change times to the nanosecond, the device and the
// inode, so that a file rewritten within the same second, or replaced by
// another of the same size and times, still differs. On Windows: the size
// and the last-write time, all that a look by name gives without opening.

#include <cstdint>
#include <optional>
#include <string_view>

namespace seedlens::platform {

struct FileState {
    std::int64_t Size = 0;
    std::int64_t Modified = 0;  // POSIX: nanoseconds since 1970; Windows: the FILETIME
    std::int64_t Changed = 0;   // POSIX only, in nanoseconds since 1970
    std::uint64_t Device = 0;   // POSIX only
    std::uint64_t Inode = 0;    // POSIX only
    bool operator==(const FileState&) const = default;
};

// The state of the regular file Path names now; nothing when there is no
// such file (gone, a folder, a FIFO) or it cannot be looked at. Path is
// taken as ReadOnlyFile::Open takes it.
std::optional<FileState> LookAtFileState(std::u16string_view Path);

// Milliseconds on a clock that never goes back, to within a few
// milliseconds: cheap enough to read on every cached request.
std::uint64_t MonotonicMilliseconds();

}  // namespace seedlens::platform
