#pragma once
// A mutual-exclusion lock that builds with every toolchain we ship with,
// including MinGW's win32 thread model, which has no std::mutex. It meets
// BasicLockable, so std::lock_guard takes it.

#include <memory>

namespace seedlens::platform {

class Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock();
    void unlock();

private:
    struct State;
    std::unique_ptr<State> FState;
};

}  // namespace seedlens::platform
