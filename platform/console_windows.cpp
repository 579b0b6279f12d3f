#include <io.h>
#include <stdio.h>

#include "platform/console.h"

namespace seedlens::platform {

bool IsTerminal(Stream Which) { return _isatty(_fileno(Which == Stream::Output ? stdout : stderr)) != 0; }

}  // namespace seedlens::platform
