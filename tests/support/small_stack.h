#pragma once
// Runs a function on a thread with a small stack, as some hosts give their
// worker threads, and waits for it.

#include <cstddef>
#include <functional>

namespace seedlens::test {

// Returns false when the thread could not be started.
bool RunOnSmallStack(std::size_t StackBytes, const std::function<void()>& Body);

}  // namespace seedlens::test
