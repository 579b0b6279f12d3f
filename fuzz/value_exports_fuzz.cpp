// The plug-in's value exports over a file written once from the fuzz input.
// Asking every field of every input made a run see too few inputs to find
// anything, so each input gets a share of the calls a host makes, chosen
// from the input's own bytes (a crash replays alone): over a run they cover
// both exports, every field and unit and some outside the table, both flags,
// and guarded buffers of many sizes at odd addresses. Nothing may crash or
// write outside what the answer allows, a text must end inside its buffer,
// and the two exports must agree on whether the file loaded.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_names.h"
#include "plugin/content_plugin_api.h"

namespace {

namespace fs = std::filesystem;
using seedlens::host::FieldTypeCode;

// Inputs are written once each, on a memory-backed folder where there is
// one; the folder goes when the run ends, since it takes memory.
class InputFolder {
public:
    InputFolder() {
        std::error_code error;
        const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        FPath = base / ("seedlens-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(FPath);
    }
    ~InputFolder() {
        std::error_code ignored;
        fs::remove_all(FPath, ignored);
    }
    InputFolder(const InputFolder&) = delete;
    InputFolder& operator=(const InputFolder&) = delete;

    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
};

const fs::path& Folder() {
    static const InputFolder folder;
    return folder.Path();
}

// Each input gets a new name, since the cache answers a known name from
// memory. The counter is zero-padded so that the newest name sorts last and
// a trim never drops it while its input is still being asked. Some names
// carry a byte that is no UTF-8, or a well-formed non-ASCII character.
std::string NameFor(std::uint64_t Counter, std::uint64_t Choice) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%016llu", static_cast<unsigned long long>(Counter));
    std::string name = (Folder() / "in-").string() + digits;
    switch (Choice % 3) {
        case 1: name += static_cast<char>(0x80 + (Choice >> 2) % 128); break;
        case 2: name += "\xC3\xA9"; break;
        default: break;
    }
    return name + ".torrent";
}

// splitmix64: the choices of one input, from a seed taken from its bytes.
class Choices {
public:
    explicit Choices(std::uint64_t Seed) : FState(Seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (FState += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    std::uint64_t Below(std::uint64_t Bound) { return Next() % Bound; }

private:
    std::uint64_t FState;
};

// The size and a few bytes from each end: cheap, and any mutation nearly
// always changes it.
std::uint64_t SeedOf(const std::uint8_t* Data, std::size_t Size) {
    std::uint64_t seed = Size * 0x100000001B3ULL;
    const std::size_t edge = std::min<std::size_t>(Size, 32);
    for (std::size_t i = 0; i < edge; ++i) seed = (seed ^ Data[i]) * 0x100000001B3ULL;
    for (std::size_t i = Size - edge; i < Size; ++i) seed = (seed ^ Data[i]) * 0x100000001B3ULL;
    return seed;
}

constexpr std::int32_t kFieldCount = 18;
constexpr std::int32_t kFirstField = -1, kLastField = kFieldCount;  // one past the table on each side
constexpr std::int32_t kUnits = 5;                          // the widest field has four
constexpr std::int32_t kSizes[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 16, 17, 33, 64, 81, 259, 512, 2048};
constexpr std::size_t kMaxOffset = 7;
constexpr int kAskedCalls = 8;
constexpr unsigned char kGuard = 0xA5;

bool Untouched(const unsigned char* From, std::size_t Count) {
    static const std::vector<unsigned char> guard(2048 + 16, kGuard);
    return Count == 0 || std::memcmp(From, guard.data(), Count) == 0;
}

enum class Export { Narrow, Wide };

struct Call {
    Export Via;
    std::int32_t Field, Unit, MaxLen, Flags;
    std::size_t Offset;
};

// Makes one call into a buffer guarded on both sides and checks what came
// back; returns the answer.
std::int32_t Ask(const Call& C, const std::string& Narrow, const std::u16string& Wide) {
    // Numbers are written whole whatever MaxLen says; the rest of the room
    // is guard.
    const std::size_t room = static_cast<std::size_t>(std::max<std::int32_t>(C.MaxLen, 8));
    const std::size_t total = C.Offset + room;
    const auto memory = std::make_unique_for_overwrite<unsigned char[]>(total);
    std::memset(memory.get(), kGuard, total);
    unsigned char* value = memory.get() + C.Offset;
    const std::int32_t result = C.Via == Export::Wide
        ? ContentGetValueW(Wide.c_str(), C.Field, C.Unit, value, C.MaxLen, C.Flags)
        : ContentGetValue(Narrow.c_str(), C.Field, C.Unit, value, C.MaxLen, C.Flags);

    if (!Untouched(memory.get(), C.Offset)) __builtin_trap();  // written before the buffer
    const auto max = static_cast<std::size_t>(std::max<std::int32_t>(C.MaxLen, 0));
    switch (result) {
        case seedlens::host::ftNoValueNow:
        case seedlens::host::ftFieldEmpty:
            if (!Untouched(value, room)) __builtin_trap();
            break;
        case FieldTypeCode::ftString:
        case FieldTypeCode::ftStringW: {
            if ((result == FieldTypeCode::ftStringW) != (C.Via == Export::Wide)) __builtin_trap();
            if (!Untouched(value + max, room - max)) __builtin_trap();
            // Terminated inside the buffer.
            const std::size_t unit = C.Via == Export::Wide ? 2 : 1;
            bool ended = false;
            for (std::size_t at = 0; !ended && at + unit <= max; at += unit)
                ended = value[at] == 0 && (unit == 1 || value[at + 1] == 0);
            if (!ended) __builtin_trap();
            break;
        }
        case FieldTypeCode::ftNumeric32:
        case FieldTypeCode::ftBoolean:
        case FieldTypeCode::ftNumeric64:
        case FieldTypeCode::ftDateTime:
            if (!Untouched(value + 8, room - 8)) __builtin_trap();
            break;
        default: __builtin_trap();  // no answer the host knows
    }
    if (result != 0 && (C.Field < 0 || C.Field >= kFieldCount)) __builtin_trap();
    return result;
}

}  // namespace

// The cache keeps the record of every input that loads, as it should.
// libFuzzer's leak check after each input takes that for a leak and scans
// the whole heap every time, which was most of a run; a leak still shows
// when the run ends. Put first, so that a flag given by hand wins.
extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) {
    static std::vector<char*> arguments(*Argv, *Argv + *Argc);
    static char noCheckAfterEachInput[] = "-detect_leaks=0";
    arguments.insert(arguments.begin() + 1, noCheckAfterEachInput);
    arguments.push_back(nullptr);
    *Argc = static_cast<int>(arguments.size()) - 1;
    *Argv = arguments.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static std::uint64_t counter = 0;
    Choices choose(SeedOf(Data, Size));
    const std::string narrow = NameFor(counter++, choose.Next());
    std::ofstream(narrow, std::ios::binary).write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    const std::u16string wide = seedlens::platform::FileNameFromNarrow(narrow);

    const auto via = [&] { return choose.Below(2) == 0 ? Export::Narrow : Export::Wide; };
    const auto offset = [&] { return static_cast<std::size_t>(choose.Below(kMaxOffset + 1)); };
    // Nothing is loaded before the first call without the immediate flag.
    if (Ask({via(), 0, 0, 512, seedlens::host::kFlagImmediateOnly, offset()}, narrow, wide) != 0) __builtin_trap();
    const Export loadedBy = via();
    const bool loaded = Ask({loadedBy, 0, 0, 2048, 0, offset()}, narrow, wide) != 0;
    // Either export finds what the other loaded, under the name it was given.
    const Export other = loadedBy == Export::Wide ? Export::Narrow : Export::Wide;
    if ((Ask({other, 0, 0, 2048, seedlens::host::kFlagImmediateOnly, offset()}, narrow, wide) != 0) != loaded)
        __builtin_trap();

    constexpr auto kFields = static_cast<std::uint64_t>(kLastField - kFirstField + 1);
    for (int i = 0; i < kAskedCalls; ++i) {
        Call call{};
        call.Via = via();
        call.Field = kFirstField + static_cast<std::int32_t>(choose.Below(kFields));
        call.Unit = static_cast<std::int32_t>(choose.Below(kUnits));
        call.MaxLen = kSizes[choose.Below(std::size(kSizes))];
        // A file that failed to load would only be read again.
        call.Flags = loaded ? static_cast<std::int32_t>(choose.Below(2)) : seedlens::host::kFlagImmediateOnly;
        call.Offset = offset();
        Ask(call, narrow, wide);
    }
    fs::remove(narrow);
    return 0;
}
