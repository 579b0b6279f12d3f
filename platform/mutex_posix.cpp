#include <mutex>

#include "platform/mutex.h"

namespace seedlens::platform {

struct Mutex::State {
    std::mutex Lock;
};

Mutex::Mutex() : FState(std::make_unique<State>()) {}
Mutex::~Mutex() = default;
void Mutex::lock() { FState->Lock.lock(); }
void Mutex::unlock() { FState->Lock.unlock(); }

}  // namespace seedlens::platform
