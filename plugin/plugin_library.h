#pragma once
// What lives while the host has the plug-in loaded: the field table, and the
// per-file cache. Built once at load time and destroyed at unload.

#include "plugin/field_table.h"

namespace seedlens {

class PluginLibrary {
public:
    PluginLibrary();
    const TWdxPlugin& FieldTable() const { return FFieldTable; }

private:
    const TWdxPlugin FFieldTable;
};

// The loaded library's state.
PluginLibrary& Library();

}  // namespace seedlens
