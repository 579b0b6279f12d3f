#include "platform/large_buffer.h"

#include <new>

namespace seedlens::platform {

// Large pages on Windows need a privilege that no file manager holds: the
// buffer is ordinary memory, committed as it is touched.
void* AllocateLargeBuffer(std::size_t Bytes) { return ::operator new(Bytes); }

void FreeLargeBuffer(void* Buffer, std::size_t) noexcept { ::operator delete(Buffer); }

}  // namespace seedlens::platform
