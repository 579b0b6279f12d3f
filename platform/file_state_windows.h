#pragma once
// The state of a file from its size and last-write time, as the open file
// and a look by name both take it. Only Windows code includes this.

#include <windows.h>

#include <cstdint>

#include "platform/file_state.h"

namespace seedlens::platform {

FileState StateOf(std::uint32_t SizeHigh, std::uint32_t SizeLow, const FILETIME& LastWrite);

}  // namespace seedlens::platform
