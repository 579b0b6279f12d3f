#pragma once
// The peak resident size of this process, as Linux tells it, for tests that
// hold the host's memory to a bound. Sanitized builds keep their own books
// and allocate far more: their figures mean nothing.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

namespace seedlens::test {

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define SEEDLENS_TEST_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define SEEDLENS_TEST_SANITIZED 1
#endif
#ifdef SEEDLENS_TEST_SANITIZED
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

inline constexpr std::int64_t kMiB = 1024 * 1024;

inline std::int64_t StatusKiB(const std::string& Key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(Key + ":", 0) == 0) return std::stoll(line.substr(Key.size() + 1));
    ADD_FAILURE() << Key << " not in /proc/self/status";
    return 0;
}

// How far the peak resident size rose above the resident size while Work ran.
inline std::int64_t PeakGrowth(const std::function<void()>& Work) {
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const std::int64_t before = StatusKiB("VmRSS");
    EXPECT_LE(StatusKiB("VmHWM"), before + 1024) << "the peak could not be reset";
    Work();
    return (StatusKiB("VmHWM") - before) * 1024;
}

}  // namespace seedlens::test
