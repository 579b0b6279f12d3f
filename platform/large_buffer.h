#pragma once
// Memory for a large buffer that is filled once from its start, such as a
// tree's tokens. Where the system offers it, the memory comes in huge
// pages: filling tens of megabytes then takes a few page faults instead of
// thousands, which on a virtual machine cost more than the filling itself.
// Untouched room takes no memory either way.

#include <cstddef>

namespace seedlens::platform {

// Room for Bytes bytes, uninitialised; throws std::bad_alloc.
void* AllocateLargeBuffer(std::size_t Bytes);
// Frees what AllocateLargeBuffer gave for the same Bytes.
void FreeLargeBuffer(void* Buffer, std::size_t Bytes) noexcept;

}  // namespace seedlens::platform
