#pragma once
// The torrent files named on the command line: files as given, folders as
// every *.torrent in them, sorted.

#include <string>
#include <vector>

namespace seedlens::tool {

struct PathList {
    std::vector<std::string> Files;     // UTF-8
    std::vector<std::string> Problems;  // "path: reason" for folders that could not be read
    std::vector<std::string> Hints;     // advice that changes nothing in the outcome
};

PathList CollectTorrentPaths(const std::vector<std::string>& Arguments, bool Recursive);

}  // namespace seedlens::tool
