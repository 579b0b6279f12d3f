// A file manager may unload the plug-in whenever no call is in flight and
// load it again later: any number of such rounds must leave its process as
// it was. Registered as a test of its own, in a fresh process, so that the
// first round really loads the module.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/dynamic_library.h"
#include "plugin/content_plugin_api.h"
#include "tests/support/bencode_writer.h"
#include "tests/support/temp_dir.h"

namespace seedlens {
namespace {

using namespace test;
using seedlens::host::GetValueWFn;

// Handles the process holds. Wine's GetProcessHandleCount reports none;
// there a new handle takes the lowest free slot, so its value tells.
std::uint64_t HeldHandles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count != 0) return count;
    HANDLE probe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const std::uint64_t slot = reinterpret_cast<std::uintptr_t>(probe) / 4;
    CloseHandle(probe);
    return slot;
}

// TlsAlloc hands out the lowest free index: how many are taken.
std::uint64_t FirstFreeTlsIndex() {
    const DWORD index = TlsAlloc();
    if (index != TLS_OUT_OF_INDEXES) TlsFree(index);
    return index;
}

TEST(UnloadRounds, LeaveTheHostAsItWas) {
    constexpr int kRounds = 2000;
    constexpr std::uint64_t kHandful = 4;
    TempDir dir;
    const std::u16string good = dir.Write("good.torrent", Dict({{"info", Dict({{"name", Str("kept")}})}})).u16string();
    // Cut short: its load fails by a throw inside the module.
    const std::u16string broken = dir.Write("broken.torrent", "d4:infod4:name").u16string();

    // Measured once the module has been loaded and has failed a load: what
    // it keeps from then on (its runtimes' storage index, thread and event,
    // the digest provider) it keeps for the process's life.
    constexpr int kFirstRounds = 2;
    std::uint64_t handlesBefore = 0;
    std::uint64_t tlsBefore = 0;
    for (int round = 1; round <= kRounds; ++round) {
        const bool goodRound = round % 2 == 1;
        std::int32_t result = -1;
        {
            platform::DynamicLibrary library(SEEDLENS_WDX_PATH);
            const auto getValueW = reinterpret_cast<GetValueWFn>(library.Symbol("ContentGetValueW"));
            char16_t buffer[64] = {};
            result = getValueW((goodRound ? good : broken).c_str(), 0, 0, buffer, sizeof buffer, 0);
        }
        ASSERT_EQ(result, goodRound ? 11 : 0) << "round " << round;
        if (round == kFirstRounds) {
            handlesBefore = HeldHandles();
            tlsBefore = FirstFreeTlsIndex();
        }
        // Checked as the rounds go: a leak shows long before the indexes run out.
        if (round % 100 == 0) {
            ASSERT_LE(HeldHandles(), handlesBefore + kHandful) << "after " << round << " rounds";
            ASSERT_LE(FirstFreeTlsIndex(), tlsBefore + kHandful) << "after " << round << " rounds";
        }
    }
    RecordProperty("HandlesGrown", std::to_string(HeldHandles() - handlesBefore));
    RecordProperty("TlsIndexesGrown", std::to_string(FirstFreeTlsIndex() - tlsBefore));
}

}  // namespace
}  // namespace seedlens
