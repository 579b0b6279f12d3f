#pragma once
// Hostile integers must not overflow: sums wrap around, cuts keep the low
// 32 bits, both with defined arithmetic.

#include <cstdint>

namespace seedlens {

inline std::int64_t WrappingAdd(std::int64_t A, std::int64_t B) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(A) + static_cast<std::uint64_t>(B));
}

inline std::int32_t Low32(std::int64_t Value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Value));
}

}  // namespace seedlens
