// Reading a whole file into memory through a stand-in file that says one
// size and holds another: what is no torrent costs one small read, and a
// file that grows past the limit is refused as soon as the bytes read pass it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "torrent/file_bytes.h"
#include "torrent/load_error.h"

namespace seedlens {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr auto kLimit = static_cast<std::uint64_t>(TTorrentFile::MaxFileBytes);
constexpr std::size_t kStack = TTorrentFile::kStackReadBytes;

// The byte at each position after the first repeats with a prime period, so
// that a block copied to the wrong place shows.
constexpr std::size_t kPeriod = 251;
const std::string kPattern = [] {
    std::string pattern(kPeriod + 64 * 1024, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i % kPeriod);
    return pattern;
}();
const std::size_t kChunk = kPattern.size() - kPeriod;

// Says Reported bytes, holds Actual: First, then the pattern.
class StandInFile final : public ByteSource {
public:
    StandInFile(std::int64_t Reported, std::uint64_t Actual, char First = 'd')
        : FReported(Reported), FActual(Actual), FFirst(First) {}

    std::int64_t Size() const override { return FReported; }
    std::int64_t Read(void* Buffer, std::size_t Count) override {
        ++Reads;
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(Count, FActual - BytesRead));
        auto* to = static_cast<char*>(Buffer);
        for (std::size_t done = 0; done < n;) {
            const std::uint64_t at = BytesRead + done;
            const std::size_t step = std::min(kChunk, n - done);
            std::memcpy(to + done, kPattern.data() + at % kPeriod, step);
            if (at == 0) to[0] = FFirst;
            done += step;
        }
        BytesRead += n;
        return static_cast<std::int64_t>(n);
    }

    int Reads = 0;
    std::uint64_t BytesRead = 0;

private:
    std::int64_t FReported;
    std::uint64_t FActual;
    char FFirst;
};

bool HoldsThePattern(std::string_view Bytes) {
    for (std::size_t at = 1; at < Bytes.size(); at += kChunk) {
        const std::size_t step = std::min(kChunk, Bytes.size() - at);
        if (std::memcmp(Bytes.data() + at, kPattern.data() + at % kPeriod, step) != 0) return false;
    }
    return true;
}

// The bytes read, or the failure's message.
struct Outcome {
    std::optional<std::uint64_t> Length;
    std::string Failure;
};

Outcome Read(StandInFile& File) {
    try {
        const FileBytes bytes(File);
        const std::string_view view = bytes.View();
        EXPECT_TRUE(view.empty() || (view[0] == 'd' && HoldsThePattern(view)));
        return {view.size(), ""};
    } catch (const LoadError& e) {
        return {std::nullopt, e.what()};
    }
}

TEST(FileBytes, WhatIsNoTorrentIsRefusedAfterOneSmallRead) {
    for (const char first : {'X', '\0', 'i', '4'}) {
        StandInFile file(200 * kMiB, 200 * kMiB, first);
        EXPECT_EQ(Read(file).Failure, "Parser error code: 8") << int{first};
        EXPECT_EQ(file.Reads, 1);
        EXPECT_LE(file.BytesRead, kStack);
    }
}

TEST(FileBytes, WholeFilesAtEverySizeAndGrowth) {
    const struct {
        std::int64_t Reported;
        std::uint64_t Actual;
    } cases[] = {
        {0, 0}, {1, 1}, {100, 100}, {kStack - 1, kStack - 1}, {kStack, kStack}, {kStack + 1, kStack + 1},
        {3 * kStack, 3 * kStack},
        // Grown since it was opened: by one byte, by many, from nothing.
        {100, 101}, {kStack, kStack + 1}, {kStack - 1, 20'000}, {0, 100'000}, {10'000, 5 * kMiB + 3},
        // Grown up to the limit itself.
        {kLimit - kMiB, kLimit},
    };
    for (const auto& c : cases) {
        StandInFile file(c.Reported, c.Actual);
        const Outcome outcome = Read(file);
        EXPECT_EQ(outcome.Length, c.Actual) << c.Reported << " -> " << c.Actual << ": " << outcome.Failure;
    }
}

TEST(FileBytes, FilesPastTheLimitAreRefusedAsSoonAsTheBytesReadPassIt) {
    const struct {
        std::int64_t Reported;
        std::uint64_t Actual;
        std::uint64_t MostRead;
    } cases[] = {
        {static_cast<std::int64_t>(kLimit) + 1, kLimit + 1, 0},  // never read
        {static_cast<std::int64_t>(kLimit), kLimit + 1, kLimit + 1},
        {1000, 4 * kLimit, kLimit + kStack},
    };
    for (const auto& c : cases) {
        StandInFile file(c.Reported, c.Actual);
        EXPECT_EQ(Read(file).Failure, "The file is too large") << c.Reported << " -> " << c.Actual;
        EXPECT_LE(file.BytesRead, c.MostRead) << c.Reported << " -> " << c.Actual;
    }
}

TEST(FileBytes, ReadFailuresAnywhereFailTheLoad) {
    class FailingFile final : public ByteSource {
    public:
        explicit FailingFile(int GoodReads) : FGoodReads(GoodReads) {}
        std::int64_t Size() const override { return 100'000; }
        std::int64_t Read(void* Buffer, std::size_t Count) override {
            if (FGoodReads-- == 0) return -1;
            std::memset(Buffer, 'd', Count);
            return static_cast<std::int64_t>(Count);
        }

    private:
        int FGoodReads;
    };
    for (const int goodReads : {0, 1, 2}) {
        FailingFile file(goodReads);
        EXPECT_THROW(FileBytes{file}, LoadError) << goodReads;
    }
}

}  // namespace
}  // namespace seedlens
