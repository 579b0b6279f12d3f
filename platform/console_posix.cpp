#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/console.h"

namespace seedlens::platform {

namespace {
int Descriptor(Stream Which) { return Which == Stream::Output ? STDOUT_FILENO : STDERR_FILENO; }
}  // namespace

bool IsTerminal(Stream Which) { return ::isatty(Descriptor(Which)) == 1; }

std::optional<std::string> WriteAll(Stream Which, std::string_view Bytes) {
    while (!Bytes.empty()) {
        const ssize_t n = ::write(Descriptor(Which), Bytes.data(), Bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::string(std::strerror(errno));
        }
        Bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return std::nullopt;
}

}  // namespace seedlens::platform
