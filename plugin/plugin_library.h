#pragma once
// What lives while the host has the plug-in loaded: the field table and the
// per-file cache. Built once at load time and destroyed when the module
// leaves memory.

#include "plugin/field_table.h"
#include "plugin/info_cache.h"

namespace seedlens {

class PluginLibrary {
public:
    explicit PluginLibrary(InfoCache::Access Files = FileSystemAccess());
    const TWdxPlugin& FieldTable() const { return FFieldTable; }
    InfoCache& Cache() { return FCache; }

private:
    const TWdxPlugin FFieldTable;
    InfoCache FCache;
};

// The loaded library's state.
PluginLibrary& Library();

}  // namespace seedlens
