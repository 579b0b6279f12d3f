#include <pthread.h>

#include "tests/support/small_stack.h"

namespace seedlens::test {

namespace {
void* Trampoline(void* Body) {
    (*static_cast<const std::function<void()>*>(Body))();
    return nullptr;
}
}  // namespace

bool RunOnSmallStack(std::size_t StackBytes, const std::function<void()>& Body) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, StackBytes);
    pthread_t thread;
    auto* body = const_cast<std::function<void()>*>(&Body);
    const bool started = pthread_create(&thread, &attributes, Trampoline, body) == 0;
    pthread_attr_destroy(&attributes);
    if (started) pthread_join(thread, nullptr);
    return started;
}

}  // namespace seedlens::test
