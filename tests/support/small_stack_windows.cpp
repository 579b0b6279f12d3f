#include <windows.h>

#include "tests/support/small_stack.h"

namespace seedlens::test {

namespace {
DWORD WINAPI Trampoline(LPVOID Body) {
    (*static_cast<const std::function<void()>*>(Body))();
    return 0;
}
}  // namespace

bool RunOnSmallStack(std::size_t StackBytes, const std::function<void()>& Body) {
    HANDLE thread = CreateThread(nullptr, StackBytes, Trampoline, const_cast<std::function<void()>*>(&Body),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) return false;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return true;
}

}  // namespace seedlens::test
