#pragma once
// The columns named with `seedlens show --fields`: a comma-separated list of
// column names as JSON spells them ("Name", "Tracker (Host only)"),
// matched ignoring ASCII letter case, kept in the order given.

#include <string>
#include <variant>
#include <vector>

#include "tools/torrent_report.h"

namespace seedlens::tool {

// The chosen columns, or the usage error that names what is no column.
std::variant<std::vector<Column>, std::string> ChooseColumns(const std::vector<Column>& Offered, const std::string& List);

}  // namespace seedlens::tool
