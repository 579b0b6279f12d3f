// What reading a file costs the host in memory, measured as the process's
// peak resident size (reset before each measure): a large file that is no
// torrent costs nothing, and a file that grows past the limit while it is
// read never has its buffer and a copy of it in memory together.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/code_pages.h"
#include "tests/support/peak_memory.h"
#include "tests/support/temp_dir.h"
#include "torrent/file_bytes.h"
#include "torrent/load_error.h"

namespace seedlens {
namespace {

using test::kMiB;
using test::kSanitized;
using test::PeakGrowth;

std::string Failure(const std::function<void()>& Load) {
    try {
        Load();
        return "";
    } catch (const LoadError& e) {
        return e.what();
    }
}

TEST(PosixLoadFile, LargeNonTorrentTakesNoMemory) {
    test::TempDir dir;
    const auto path = dir.Write("large.torrent", "X");
    std::filesystem::resize_file(path, 200 * kMiB);  // sparse, zero-filled past the X
    const std::u16string name = platform::Utf8ToUtf16(path.string());
    std::string failure;
    const std::int64_t growth = PeakGrowth([&] { failure = Failure([&] { TTorrentFile().LoadFile(name); }); });
    EXPECT_EQ(failure, "Parser error code: 8");
    EXPECT_LT(growth, 8 * kMiB);
}

// Says it has Reported bytes, and serves zero bytes after a "d" without end.
class EndlessFile final : public ByteSource {
public:
    explicit EndlessFile(std::int64_t Reported) : FReported(Reported) {}
    std::int64_t Size() const override { return FReported; }
    std::int64_t Read(void* Buffer, std::size_t Count) override {
        std::memset(Buffer, 0, Count);
        if (FFirst) static_cast<char*>(Buffer)[0] = 'd';
        FFirst = false;
        return static_cast<std::int64_t>(Count);
    }

private:
    std::int64_t FReported;
    bool FFirst = true;
};

TEST(PosixLoadFile, FileGrowingPastTheLimitIsRefusedWithinItsMemory) {
    // The sanitizers' realloc always moves the block.
    if (kSanitized) GTEST_SKIP() << "sanitized build";
    EndlessFile file(TTorrentFile::MaxFileBytes - 64 * kMiB);
    std::string failure;
    const std::int64_t growth = PeakGrowth([&] { failure = Failure([&] { FileBytes bytes(file); }); });
    EXPECT_EQ(failure, "The file is too large");
    EXPECT_LT(growth, TTorrentFile::MaxFileBytes + 16 * kMiB);
}

}  // namespace
}  // namespace seedlens
