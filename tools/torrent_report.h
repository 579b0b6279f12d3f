#pragma once
// What the plug-in says of one torrent: every column a host would show.

#include <string>
#include <vector>

#include "tools/loaded_plugin.h"

namespace seedlens::tool {

// One column: a field in one of its units.
struct Column {
    std::int32_t Field;
    std::int32_t Unit;
    std::string Name;  // the field's name; other units of a text add " (unit)"
    std::int32_t Type; // the field's type code from the table
};

// Every field in its first unit, and text fields in each of their units
// (the tracker's "Host only").
std::vector<Column> ReportColumns(const LoadedPlugin& Plugin);

struct TorrentReport {
    std::string Path;
    bool Loaded = false;  // false when the plug-in had no value for the file
    std::string Error;    // why not, when it was not loaded
    std::vector<FieldAnswer> Answers;  // one per column when loaded
};

TorrentReport AskPlugin(const LoadedPlugin& Plugin, const std::vector<Column>& Columns, const std::string& Path,
                        bool Narrow, TextBuffer Buffer);

}  // namespace seedlens::tool
