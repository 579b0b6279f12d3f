// The plug-in's value exports over a file written from the fuzz input: every
// field in every unit, both exports, with and without the immediate flag,
// into buffers of several sizes. Nothing may crash, leak or write past a
// buffer (the buffers are guarded and checked).

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/code_pages.h"
#include "plugin/content_plugin_api.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / ("seedlens-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

constexpr unsigned char kGuard = 0xA5;

void CheckGuard(const unsigned char* Buffer, std::size_t From, std::size_t To) {
    for (std::size_t i = From; i < To; ++i)
        if (Buffer[i] != kGuard) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    // A new name every time: the cache answers a known name from memory.
    static unsigned long counter = 0;
    const fs::path path = Folder() / ("input-" + std::to_string(counter++) + ".torrent");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    const std::string narrow = path.string();
    const std::u16string wide = seedlens::platform::Utf8ToUtf16(narrow);

    alignas(8) unsigned char buffer[600];
    for (int flags : {1, 0, 1}) {
        for (std::int32_t field = -1; field <= 14; ++field) {
            for (std::int32_t unit = 0; unit <= 4; ++unit) {
                for (std::int32_t maxLen : {0, 3, 512}) {
                    std::memset(buffer, kGuard, sizeof buffer);
                    ContentGetValueW(wide.c_str(), field, unit, buffer, maxLen, flags);
                    // Texts stay inside MaxLen bytes; numbers take at most 8.
                    CheckGuard(buffer, static_cast<std::size_t>(std::max(maxLen, 8)), sizeof buffer);
                    std::memset(buffer, kGuard, sizeof buffer);
                    ContentGetValue(narrow.c_str(), field, unit, buffer, maxLen, flags);
                    CheckGuard(buffer, static_cast<std::size_t>(std::max(maxLen, 8)), sizeof buffer);
                }
            }
        }
    }
    fs::remove(path);
    return 0;
}
