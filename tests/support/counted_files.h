#pragma once
// A plug-in library whose cache reaches the real files through counters, on
// a clock the test sets: loads (each one opens and reads the file) and
// looks at a file's state are counted, and no test has to sleep.

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/code_pages.h"
#include "plugin/value_request.h"

namespace seedlens::test {

class CountedFiles {
public:
    CountedFiles()
        : Library({[this](std::u16string_view Name) { return ++Loads, LoadTorrentInfo(Name); },
                   [this](std::u16string_view Name) { return ++Looks, platform::LookAtFileState(Name); },
                   [this] { return Now.load(); }}) {}

    void PassSeconds(double Seconds) { Now += static_cast<std::uint64_t>(Seconds * 1000); }

    // The torrent's name through either export's request, "" with no value.
    std::string NameOf(const std::string& Path, TextWidth Width, std::int32_t Flags = 0) {
        const std::u16string name = platform::Utf8ToUtf16(Path);
        char16_t buffer[256] = {};
        const std::int32_t result = RequestValue(Library, name, 0, 0, buffer, sizeof buffer, Flags, Width);
        if (result == 11) return platform::Utf16ToUtf8(buffer);
        if (result == 8) return platform::Utf16ToUtf8(platform::NarrowToUtf16(reinterpret_cast<const char*>(buffer)));
        return "";
    }

    std::atomic<std::uint64_t> Now{1'000'000};
    std::atomic<int> Loads{0};
    std::atomic<int> Looks{0};
    PluginLibrary Library;
};

}  // namespace seedlens::test
