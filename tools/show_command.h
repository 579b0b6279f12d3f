#pragma once
// `seedlens show`: every field of every torrent named, through the plug-in.

#include <string>
#include <vector>

namespace seedlens::tool {

struct ShowOptions {
    std::string PluginPath;
    bool Narrow = false;
    std::string Format = "table";  // table, json or csv
    bool Recursive = false;
    std::vector<std::string> Paths;
};

// 0 when every file loaded, 1 when any failed, 2 for a usage error.
int RunShow(const ShowOptions& Options);

}  // namespace seedlens::tool
