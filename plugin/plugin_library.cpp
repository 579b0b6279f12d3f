#include "plugin/plugin_library.h"

namespace seedlens {

PluginLibrary::PluginLibrary() : FFieldTable(BuildFieldTable()) {}

namespace {
// Constructed when the host loads the library and destroyed when it
// unloads it, before and after every export call.
PluginLibrary gLibrary;
}  // namespace

PluginLibrary& Library() { return gLibrary; }

}  // namespace seedlens
