#include "platform/case_folding.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/case_folding_table.h"

namespace seedlens::platform {

char32_t SimpleCaseFold(char32_t CodePoint) {
    if (CodePoint < 0x80) return (CodePoint >= U'A' && CodePoint <= U'Z') ? CodePoint + 32 : CodePoint;
    // The last run starting at or before CodePoint is the only one that can hold it.
    const auto after = std::upper_bound(std::begin(kCaseFoldRuns), std::end(kCaseFoldRuns), CodePoint,
                                        [](char32_t Code, const CaseFoldRun& Run) { return Code < Run.First; });
    if (after == std::begin(kCaseFoldRuns)) return CodePoint;
    const CaseFoldRun& run = *(after - 1);
    const char32_t offset = CodePoint - run.First;
    if (offset > run.Span || offset % run.Stride != 0) return CodePoint;
    return static_cast<char32_t>(static_cast<std::int64_t>(CodePoint) + run.Delta);
}

}  // namespace seedlens::platform
