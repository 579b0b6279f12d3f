#include "tools/failure_reason.h"

#include "torrent/torrent_file.h"

namespace seedlens::tool {

std::string FailureReason(const platform::PathLook& Look) {
    using platform::PathKind;
    switch (Look.Kind) {
        case PathKind::Missing: return "no such file";
        case PathKind::AccessDenied: return "permission denied";
        case PathKind::Folder: return "a folder";
        case PathKind::NotRegular: return "not a regular file";
        case PathKind::Unreadable: return Look.Reason;
        case PathKind::Regular: break;
    }
    if (Look.Size == 0) return "empty";
    if (Look.Size > TTorrentFile::MaxFileBytes)
        return "larger than " + std::to_string(TTorrentFile::MaxFileBytes >> 20) + " MiB, the most the plug-in reads";
    return "not a torrent";
}

std::string FailureReason(const std::string& Path) { return FailureReason(platform::LookAtPath(Path)); }

}  // namespace seedlens::tool
