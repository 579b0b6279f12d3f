#include "platform/large_buffer.h"

#include <sys/mman.h>

#include <new>

namespace seedlens::platform {

namespace {
// Whole huge pages: the kernel then places the mapping on their boundary.
constexpr std::size_t kHugePage = 2 * 1024 * 1024;
std::size_t Mapped(std::size_t Bytes) { return (Bytes + kHugePage - 1) / kHugePage * kHugePage; }
}  // namespace

// The mapping is usable at once: a page takes memory when first touched.
void* ReserveLargeBuffer(std::size_t Bytes) {
    void* memory = ::mmap(nullptr, Mapped(Bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    // Only a wish: a system without huge pages maps ordinary ones.
    ::madvise(memory, Mapped(Bytes), MADV_HUGEPAGE);
    return memory;
}

void CommitLargeBuffer(void*, std::size_t) {}

void FreeLargeBuffer(void* Buffer, std::size_t Bytes) noexcept {
    if (Buffer != nullptr) ::munmap(Buffer, Mapped(Bytes));
}

}  // namespace seedlens::platform
