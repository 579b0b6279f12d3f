#include <sys/stat.h>
#include <time.h>

#include "platform/file_names.h"
#include "platform/file_state.h"
#include "platform/file_state_posix.h"

namespace seedlens::platform {

namespace {
std::int64_t Nanoseconds(const struct timespec& Time) {
    return static_cast<std::int64_t>(Time.tv_sec) * 1'000'000'000 + Time.tv_nsec;
}
}  // namespace

FileState StateOf(const struct stat& Info) {
    return {.Size = static_cast<std::int64_t>(Info.st_size),
            .Modified = Nanoseconds(Info.st_mtim),
            .Changed = Nanoseconds(Info.st_ctim),
            .Device = static_cast<std::uint64_t>(Info.st_dev),
            .Inode = static_cast<std::uint64_t>(Info.st_ino)};
}

std::optional<FileState> LookAtFileState(std::u16string_view Path) {
    struct stat info {};
    if (::stat(FileNameToNarrow(Path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return StateOf(info);
}

std::uint64_t MonotonicMilliseconds() {
    // The coarse clock is read without a system call and is as fine as a
    // one-second freshness rule needs.
#ifdef CLOCK_MONOTONIC_COARSE
    constexpr clockid_t kClock = CLOCK_MONOTONIC_COARSE;
#else
    constexpr clockid_t kClock = CLOCK_MONOTONIC;
#endif
    struct timespec now {};
    ::clock_gettime(kClock, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000 + static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000;
}

}  // namespace seedlens::platform
