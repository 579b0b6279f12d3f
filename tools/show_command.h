#pragma once
// `seedlens show`: every field of every torrent named, through the plug-in.

#include <optional>
#include <string>
#include <vector>

#include "tools/loaded_plugin.h"

namespace seedlens::tool {

struct ShowOptions {
    bool Narrow = false;
    std::string Format = "table";  // table, json or csv
    bool Recursive = false;
    std::optional<std::string> Fields;  // comma-separated column names; none: every column
    bool Bare = false;   // the values alone, one line each
    std::vector<std::string> Paths;
};

// 0 when every file loaded, 1 when any failed or a folder could not be
// read, 2 when --fields names no column. Throws WriteError when output
// cannot be written.
int RunShow(const LoadedPlugin& Plugin, const ShowOptions& Options);

}  // namespace seedlens::tool
