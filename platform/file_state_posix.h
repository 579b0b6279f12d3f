#pragma once
// The state of a file from its stat, as the open file and a look by name
// both take it. Only POSIX code includes this.

#include <sys/stat.h>

#include "platform/file_state.h"

namespace seedlens::platform {

FileState StateOf(const struct stat& Info);

}  // namespace seedlens::platform
