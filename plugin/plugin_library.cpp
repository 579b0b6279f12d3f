#include "plugin/plugin_library.h"

namespace seedlens {

PluginLibrary::PluginLibrary(InfoCache::Access Files) : FFieldTable(BuildFieldTable()), FCache(std::move(Files)) {}

namespace {
// Constructed when the host loads the library and destroyed, with every
// cached record, when the module leaves memory (platform/module_residence.h).
PluginLibrary gLibrary;
}  // namespace

PluginLibrary& Library() { return gLibrary; }

}  // namespace seedlens
