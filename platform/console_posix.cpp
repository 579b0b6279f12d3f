#include <unistd.h>

#include "platform/console.h"

namespace seedlens::platform {

bool IsTerminal(Stream Which) { return ::isatty(Which == Stream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1; }

}  // namespace seedlens::platform
