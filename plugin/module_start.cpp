// Runs when the host loads the module, before any export is called.

#include "platform/module_residence.h"

namespace {
[[maybe_unused]] const bool gStarted = (seedlens::platform::StayResidentWhereUnloadingLeaks(), true);
}  // namespace
