#pragma once
// The plug-in's detect string and field table, printed for people.

#include <ostream>

#include "tools/loaded_plugin.h"

namespace seedlens::tool {

void PrintFieldTable(const LoadedPlugin& Plugin, std::ostream& Out);

// A host type code's name for people ("text", "64-bit integer", ...).
const char* TypeCodeName(std::int32_t Type);

}  // namespace seedlens::tool
