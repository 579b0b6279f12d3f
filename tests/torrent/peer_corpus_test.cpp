// Every torrent of the peer projects' test suites, checked against the raw
// facts their expectation files state: info hash, file count, total size,
// piece length and count. Files the peers must load, we must load too.
// Padding entries are no files; a v2-only torrent shows its file tree and
// its SHA-256, a hybrid its v1 list and its SHA-1.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "platform/code_pages.h"
#include "torrent/torrent_file.h"

namespace seedlens {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = fs::path(SEEDLENS_SOURCE_DIR) / ".." / "shared" / "peer-corpus";

struct Expectation {
    fs::path File;
    bool MustLoad = false;
    std::string Sha1, Sha256;
    std::int64_t Files = -1, Pads = 0, Total = -1, PieceLength = -1, PieceBytes = 0;
    std::int64_t V2Files = -1, V2Total = -1;
};

std::int64_t Number(const std::string& Digits) {
    std::string plain;
    for (char c : Digits)
        if (c != ',') plain += c;
    return std::stoll(plain);
}

// Reads the "- `file` (...). ... Computed: ..." lines of one expectation file.
std::vector<Expectation> ReadExpectations(const fs::path& Folder) {
    std::vector<Expectation> out;
    std::ifstream in(Folder / "EXPECTATIONS.md");
    const std::regex entry(R"(^- `([^`]+\.torrent)`)");
    const std::regex sha1(R"(SHA-1 ([0-9a-f]{40}))");
    const std::regex sha256(R"(SHA-256 ([0-9a-f]{64}))");
    const std::regex files(R"(v1 files=([0-9,]+)(?: \(pad ([0-9]+)\))?, total=([0-9,]+))");
    const std::regex v2Files(R"(v2 files=([0-9,]+), total=([0-9,]+))");
    const std::regex pieceLength(R"(piece length=([0-9]+))");
    const std::regex pieces(R"(pieces=([0-9,]+) bytes)");
    bool inMustLoad = false;
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) inMustLoad = line.rfind("## Must load", 0) == 0;
        if (!std::regex_search(line, m, entry)) continue;
        Expectation e;
        e.File = Folder / m[1].str();
        const auto computed = line.find("Computed:");
        e.MustLoad = inMustLoad || line.find("Expected: LOADS") != std::string::npos;
        const std::string facts = computed == std::string::npos ? "" : line.substr(computed);
        if (std::regex_search(facts, m, sha1)) e.Sha1 = m[1];
        if (std::regex_search(facts, m, sha256)) e.Sha256 = m[1];
        if (std::regex_search(facts, m, files)) {
            e.Files = Number(m[1]);
            if (m[2].matched) e.Pads = Number(m[2]);
            e.Total = Number(m[3]);
        }
        if (std::regex_search(facts, m, v2Files)) {
            e.V2Files = Number(m[1]);
            e.V2Total = Number(m[2]);
        }
        if (std::regex_search(facts, m, pieceLength)) e.PieceLength = Number(m[1]);
        if (std::regex_search(facts, m, pieces)) e.PieceBytes = Number(m[1]);
        out.push_back(e);
    }
    return out;
}

TEST(PeerCorpus, AgreesWithThePeersOnEveryFact) {
    if (!fs::exists(kCorpus)) GTEST_SKIP() << "no peer corpus at " << kCorpus;
    std::vector<Expectation> all = ReadExpectations(kCorpus / "libtorrent");
    const auto more = ReadExpectations(kCorpus / "transmission");
    all.insert(all.end(), more.begin(), more.end());
    ASSERT_GT(all.size(), 100u);

    int loaded = 0, v2Only = 0, padded = 0;
    for (const Expectation& e : all) {
        SCOPED_TRACE(e.File.string());
        TTorrentFile doc;
        doc.ParseOptions = {TParseOptionsKind::poFindEncoding};
        try {
            doc.LoadFile(platform::Utf8ToUtf16(e.File.string()));
        } catch (const std::exception& failure) {
            EXPECT_FALSE(e.MustLoad) << failure.what();
            continue;
        }
        ++loaded;
        if (e.Sha1.empty()) continue;  // the info value is no dictionary
        if (e.PieceLength >= 0 && e.PieceLength < INT32_MAX) {
            EXPECT_EQ(doc.BlockSize, e.PieceLength);
        }
        if (e.Files < 0 && e.V2Files >= 0) {
            // v2 only: the file tree is the file list.
            ++v2Only;
            EXPECT_TRUE(doc.V2Only);
            EXPECT_EQ(doc.Hash, e.Sha256);
            EXPECT_EQ(doc.FileCount(), e.V2Files);
            EXPECT_EQ(doc.TotalSize, e.V2Total);
            continue;
        }
        EXPECT_FALSE(doc.V2Only);
        EXPECT_EQ(doc.Hash, e.Sha1);
        if (e.Files < 0) continue;  // no v1 file list
        EXPECT_EQ(doc.FileCount(), e.Files - e.Pads);
        // The facts' v1 total counts padding; a hybrid's v2 total is the
        // same files without it.
        if (e.Pads == 0) {
            EXPECT_EQ(doc.TotalSize, e.Total);
        } else if (e.V2Files == e.Files - e.Pads) {
            EXPECT_EQ(doc.TotalSize, e.V2Total);
        } else if (e.Total > 0) {
            EXPECT_LT(doc.TotalSize, e.Total);
        }
        if (e.Pads > 0) ++padded;
        EXPECT_EQ(doc.BlockCount, e.PieceBytes / 20);
    }
    EXPECT_GT(loaded, 80);
    EXPECT_GE(v2Only, 7);
    EXPECT_GE(padded, 10);
}

}  // namespace
}  // namespace seedlens
