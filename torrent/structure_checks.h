#pragma once
// The structural checks: what makes a client refuse to open a torrent whose
// info dictionary it could read. Each is a row of one table, a condition on
// what the walks saw and its message, run once after the walks.

#include <cstdint>
#include <string_view>

#include "torrent/structure_facts.h"

namespace seedlens {

// Rows in table order; bit N of a result stands for row N.
inline constexpr int kStructureCheckCount = 14;

// The rows that fail for an info dictionary the walks saw into Facts.
std::uint32_t RunStructureChecks(const StructureFacts& Facts);
// The message of row Row, from 0.
std::u16string_view StructureCheckMessage(int Row);

}  // namespace seedlens
