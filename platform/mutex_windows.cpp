#include <windows.h>

#include "platform/mutex.h"

namespace seedlens::platform {

struct Mutex::State {
    SRWLOCK Lock = SRWLOCK_INIT;
};

Mutex::Mutex() : FState(std::make_unique<State>()) {}
Mutex::~Mutex() = default;
void Mutex::lock() { AcquireSRWLockExclusive(&FState->Lock); }
void Mutex::unlock() { ReleaseSRWLockExclusive(&FState->Lock); }

}  // namespace seedlens::platform
