#pragma once
// Why the plug-in could not load a file, told from the file itself.

#include <string>

#include "platform/path_look.h"

namespace seedlens::tool {

// "no such file", "permission denied", "a folder", "not a regular file",
// "empty", "larger than 256 MiB, the most the plug-in reads"; for a file
// that reads well, "not a torrent".
std::string FailureReason(const platform::PathLook& Look);

// The reason for the file at Path (UTF-8).
std::string FailureReason(const std::string& Path);

}  // namespace seedlens::tool
