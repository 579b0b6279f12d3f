#pragma once
// What becomes of the plug-in's module when its host unloads it.

namespace seedlens::platform {

// Called once when the module is loaded. On Windows the module then stays
// in memory, with its cache, until the host's process ends: a later load
// finds it as it was. Elsewhere unloading frees everything and this does
// nothing.
void StayResidentWhereUnloadingLeaks();

}  // namespace seedlens::platform
