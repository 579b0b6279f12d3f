// The runtimes linked into the module take a thread-local storage index,
// an event and a thread (winpthreads, behind function-local statics) and
// more of each for the first exception (libgcc's emulated thread-local
// storage), and give none of them back when the module is unmapped. A
// host that loads and unloads the plug-in over and over would run out of
// storage indexes, so the module pins itself: FreeLibrary never unmaps it.

#include <windows.h>

#include "platform/module_residence.h"

namespace seedlens::platform {

void StayResidentWhereUnloadingLeaks() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&StayResidentWhereUnloadingLeaks), &module);
}

}  // namespace seedlens::platform
