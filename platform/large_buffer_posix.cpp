#include "platform/large_buffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace seedlens::platform {

namespace {
constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;

std::size_t WholePages(std::size_t Bytes) {
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (Bytes + page - 1) / page * page;
}
}  // namespace

// The mapping is usable at once: a page takes memory when first touched.
// It starts on a huge page's boundary and ends where the buffer does, so
// that its last, partly filled stretch takes ordinary pages, not a whole
// huge one.
void* ReserveLargeBuffer(std::size_t Bytes) {
    const std::size_t length = WholePages(Bytes);
    void* mapped = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto first = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t start = (first + kHugePage - 1) / kHugePage * kHugePage;
    if (start != first) ::munmap(mapped, start - first);
    if (start + length != first + length + kHugePage)
        ::munmap(reinterpret_cast<void*>(start + length), first + kHugePage - start);
    // Only a wish: a system without huge pages maps ordinary ones.
    ::madvise(reinterpret_cast<void*>(start), length, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(start);
}

void CommitLargeBuffer(void*, std::size_t) {}

void FreeLargeBuffer(void* Buffer, std::size_t Bytes) noexcept {
    if (Buffer != nullptr) ::munmap(Buffer, WholePages(Bytes));
}

}  // namespace seedlens::platform
