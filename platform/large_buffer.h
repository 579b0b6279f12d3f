#pragma once
// Memory for a large buffer that is filled once from its start, such as a
// tree's tokens. Room for the most the buffer may need is reserved at once,
// and made usable as it fills: untouched room takes no memory, and on a
// 32-bit host no commit charge either. Where the system offers it, the
// memory comes in huge pages: filling tens of megabytes then takes a few
// page faults instead of thousands, which on a virtual machine cost more
// than the filling itself.

#include <cstddef>

namespace seedlens::platform {

// Reserves room for Bytes bytes, none of them usable yet; throws std::bad_alloc.
void* ReserveLargeBuffer(std::size_t Bytes);
// Makes the first Bytes bytes of a reserved buffer usable, uninitialised
// where new; throws std::bad_alloc.
void CommitLargeBuffer(void* Buffer, std::size_t Bytes);
// Frees what ReserveLargeBuffer gave for the same Bytes.
void FreeLargeBuffer(void* Buffer, std::size_t Bytes) noexcept;

}  // namespace seedlens::platform
