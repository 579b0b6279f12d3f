#include "platform/large_buffer.h"

#include <windows.h>

#include <new>

namespace seedlens::platform {

// Large pages need a privilege that no file manager holds: ordinary pages,
// committed as the buffer fills.
void* ReserveLargeBuffer(std::size_t Bytes) {
    void* memory = ::VirtualAlloc(nullptr, Bytes, MEM_RESERVE, PAGE_NOACCESS);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

void CommitLargeBuffer(void* Buffer, std::size_t Bytes) {
    if (::VirtualAlloc(Buffer, Bytes, MEM_COMMIT, PAGE_READWRITE) == nullptr) throw std::bad_alloc();
}

void FreeLargeBuffer(void* Buffer, std::size_t) noexcept {
    if (Buffer != nullptr) ::VirtualFree(Buffer, 0, MEM_RELEASE);
}

}  // namespace seedlens::platform
