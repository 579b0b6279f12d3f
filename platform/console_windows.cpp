#include <io.h>
#include <stdio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/console.h"

namespace seedlens::platform {

namespace {
int Descriptor(Stream Which) { return _fileno(Which == Stream::Output ? stdout : stderr); }
}  // namespace

bool IsTerminal(Stream Which) { return _isatty(Descriptor(Which)) != 0; }

std::optional<std::string> WriteAll(Stream Which, std::string_view Bytes) {
    while (!Bytes.empty()) {
        const unsigned chunk = Bytes.size() > 0x40000000 ? 0x40000000u : static_cast<unsigned>(Bytes.size());
        const int n = _write(Descriptor(Which), Bytes.data(), chunk);
        if (n < 0) return std::string(std::strerror(errno));
        // Text mode writes "\r\n" for "\n"; never step past what was given.
        Bytes.remove_prefix(std::min(static_cast<std::size_t>(n), Bytes.size()));
    }
    return std::nullopt;
}

}  // namespace seedlens::platform
