#include "tests/support/generated_torrents.h"

#include <algorithm>
#include <vector>

#include "tests/support/bencode_writer.h"

namespace seedlens::test {

namespace {
std::string PiecesOf(std::size_t Bytes) {
    std::string pieces(Bytes, '\0');
    std::uint32_t state = 2463534242u;  // xorshift: varied bytes, zeros included
    for (char& c : pieces) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = static_cast<char>(state);
    }
    return pieces;
}
}  // namespace

namespace {
// A torrent of one big file around Info, as the benchmarks' creator writes it.
std::string BigFileTorrent(const std::string& Info) {
    return Dict({{"announce", Str("http://tracker.example.org:6969/announce")},
                 {"created by", Str("seedlens-bench")},
                 {"creation date", Int(1700000000)},
                 {"info", Info}});
}
}  // namespace

std::string TorrentWithPieces(std::size_t PiecesBytes) {
    return BigFileTorrent(Dict({{"length", Int(static_cast<std::int64_t>(PiecesBytes / 20) * 262144)},
                                {"name", Str("big-image.iso")},
                                {"piece length", Int(262144)},
                                {"pieces", Str(PiecesOf(PiecesBytes))}}));
}

std::string HybridTorrentWithPieces(std::size_t PiecesBytes) {
    const std::int64_t length = static_cast<std::int64_t>(PiecesBytes / 20) * 262144;
    const std::string tree =
        Dict({{"big-image.iso", Dict({{"", Dict({{"length", Int(length)}, {"pieces root", Str(PiecesOf(32))}})}})}});
    return BigFileTorrent(Dict({{"file tree", tree},
                                {"length", Int(length)},
                                {"meta version", Int(2)},
                                {"name", Str("big-image.iso")},
                                {"piece length", Int(262144)},
                                {"pieces", Str(PiecesOf(PiecesBytes))}}));
}

namespace {
// Numbers padded to Digits, so that names sort as they count.
std::string Padded(std::size_t Number, std::size_t Digits) {
    const std::string text = std::to_string(Number);
    return std::string(Digits > text.size() ? Digits - text.size() : 0, '0') + text;
}

std::string Season(std::size_t File) { return "season " + Padded(File / 1000, 3); }
std::string Disc(std::size_t File) { return "disc " + std::to_string(File / 100 % 10); }
std::string Track(std::size_t File) { return "track " + Padded(File, 7) + ".flac"; }

// Pieces of PieceLength that Total bytes fill.
std::size_t PiecesFor(std::int64_t Total, std::int64_t PieceLength) {
    return static_cast<std::size_t>((Total + PieceLength - 1) / PieceLength);
}
}  // namespace

std::string TorrentWithFiles(std::size_t FileCount) {
    std::string files = "l";
    std::int64_t total = 0;
    for (std::size_t i = 0; i < FileCount; ++i) {
        const auto length = static_cast<std::int64_t>(1048576 + 1000003 * (i % 7));
        total += length;
        files += Dict({{"length", Int(length)}, {"path", List({Str(Season(i)), Str(Disc(i)), Str(Track(i))})}});
    }
    files += "e";
    const std::size_t pieceCount = PiecesFor(total, 4194304);
    const std::string info = Dict({{"files", files},
                                   {"name", Str("collection")},
                                   {"piece length", Int(4194304)},
                                   {"pieces", Str(PiecesOf(pieceCount * 20))}});
    return Dict({{"announce", Str("udp://tracker.example.org:1337/announce")},
                 {"creation date", Int(1600000000)},
                 {"info", info}});
}

namespace {
constexpr std::int64_t kV2PieceLength = 262144;

std::int64_t V2FileLength(std::size_t Index) { return static_cast<std::int64_t>(1000003 * (Index % 7 + 1)); }

// Files in "season S/disc D/track I.flac", as a v2 file tree.
std::string FileTreeOf(std::size_t FileCount) {
    std::string seasons = "d";
    for (std::size_t season = 0; season * 1000 < FileCount; ++season) {
        std::string discs = "d";
        for (std::size_t disc = 0; disc < 10 && season * 1000 + disc * 100 < FileCount; ++disc) {
            std::string tracks = "d";
            for (std::size_t i = season * 1000 + disc * 100; i < std::min(FileCount, season * 1000 + disc * 100 + 100); ++i)
                tracks += Str(Track(i)) +
                          Dict({{"", Dict({{"length", Int(V2FileLength(i))}, {"pieces root", Str(PiecesOf(32))}})}});
            discs += Str(Disc(season * 1000 + disc * 100)) + tracks + "e";
        }
        seasons += Str(Season(season * 1000)) + discs + "e";
    }
    return seasons + "e";
}

std::string WithTracker(const std::string& Info) {
    return Dict({{"announce", Str("udp://tracker.example.org:1337/announce")},
                 {"creation date", Int(1600000000)},
                 {"info", Info}});
}
}  // namespace

std::string V2TorrentWithFiles(std::size_t FileCount) {
    return WithTracker(Dict({{"file tree", FileTreeOf(FileCount)},
                             {"meta version", Int(2)},
                             {"name", Str("collection")},
                             {"piece length", Int(kV2PieceLength)}}));
}

std::string HybridTorrentWithFiles(std::size_t FileCount) {
    std::string files = "l";
    std::int64_t pieces = 0;
    for (std::size_t i = 0; i < FileCount; ++i) {
        const std::int64_t length = V2FileLength(i);
        files += Dict({{"length", Int(length)},
                       {"path", List({Str(Season(i)), Str(Disc(i)), Str(Track(i))})}});
        const std::int64_t filePieces = (length + kV2PieceLength - 1) / kV2PieceLength;
        pieces += filePieces;
        if (i + 1 < FileCount) {
            const std::int64_t pad = filePieces * kV2PieceLength - length;
            files += Dict({{"attr", Str("p")}, {"length", Int(pad)}, {"path", List({Str(".pad"), Str(std::to_string(pad))})}});
        }
    }
    files += "e";
    return WithTracker(Dict({{"file tree", FileTreeOf(FileCount)},
                             {"files", files},
                             {"meta version", Int(2)},
                             {"name", Str("collection")},
                             {"piece length", Int(kV2PieceLength)},
                             {"pieces", Str(PiecesOf(static_cast<std::size_t>(pieces) * 20))}}));
}

std::string SmallTorrent(std::size_t Index) {
    const std::string id = std::to_string(Index);
    // 1 to 40 pieces, the last of them partly filled.
    const std::size_t pieceCount = 1 + Index % 40;
    const std::int64_t fullPieces = static_cast<std::int64_t>(pieceCount - 1) * 262144;
    const auto partial = static_cast<std::int64_t>(Index % 200000);
    std::vector<std::pair<std::string, std::string>> info;
    if (Index % 3 == 0) {
        info.push_back({"files", List({Dict({{"length", Int(fullPieces + 1000 + partial)},
                                            {"path", List({Str("dir " + id), Str("a.bin")})}}),
                                       Dict({{"length", Int(77)}, {"path", List({Str("readme.txt")})}})})});
    } else {
        info.push_back({"length", Int(fullPieces + 1 + partial)});
    }
    info.push_back({"name", Str("Item number " + id + (Index % 5 == 0 ? " caf\xe9" : ""))});
    info.push_back({"piece length", Int(262144)});
    info.push_back({"pieces", Str(PiecesOf(20 * pieceCount))});
    if (Index % 4 == 0) info.push_back({"private", Int(1)});

    std::vector<std::pair<std::string, std::string>> top = {
        {"announce", Str("http://tracker" + std::to_string(Index % 7) + ".example.org:6969/announce")},
        {"announce-list", List({List({Str("http://tracker" + std::to_string(Index % 7) + ".example.org:6969/announce")}),
                                List({Str("udp://backup.example.net:1337/announce")})})},
        {"comment", Str("Generated torrent " + id)},
        {"created by", Str("seedlens-bench/1.0")}};
    if (Index % 6 != 0) top.push_back({"creation date", Int(1500000000 + static_cast<std::int64_t>(Index) * 3600)});
    top.push_back({"info", Dict(info)});
    if (Index % 10 == 0) top.push_back({"url-list", List({Str("http://seed.example.com/" + id)})});
    return Dict(top);
}

namespace {
constexpr std::int64_t kSmallLength = 1000000;
constexpr std::int64_t kSmallPieceLength = 16384;

// A small single-file info; Extra members (bencoded, keys after "pieces") end it.
std::string SmallInfo(const std::string& Extra = "") {
    return "d" + Str("length") + Int(kSmallLength) + Str("name") + Str("small.bin") + Str("piece length") +
           Int(kSmallPieceLength) + Str("pieces") + Str(PiecesOf(PiecesFor(kSmallLength, kSmallPieceLength) * 20)) +
           Extra + "e";
}

// 150 to 250 KiB, about 200 KiB on average: a million files then need
// fewer than 50,000 pieces of 4 MiB.
std::int64_t RealFileLength(std::size_t Index) {
    return 153600 + static_cast<std::int64_t>(Index * 2654435761u % 102400);
}
}  // namespace

std::string ManyEmptyListsTorrent(std::size_t Lists) {
    std::string out = "d" + Str("a-padding") + "l";
    out.reserve(out.size() + 2 * Lists + 1024);
    for (std::size_t i = 0; i < Lists; ++i) out += "le";
    return out + "e" + Str("info") + SmallInfo() + "e";
}

std::string RealShapedTorrent(std::size_t Files, std::size_t Folders) {
    std::string files = "l";
    files.reserve(64 * Files);
    std::int64_t total = 0;
    for (std::size_t i = 0; i < Files; ++i) {
        const std::int64_t length = RealFileLength(i);
        total += length;
        // Neighbouring files share a folder, as a creator walking a tree lists them.
        const std::string folder = "folder " + Padded(i * Folders / Files, 4);
        files += "d" + Str("length") + Int(length) + Str("path") + "l" + Str(folder) +
                 Str("file " + Padded(i, 7) + ".dat") + "ee";
    }
    files += "e";
    constexpr std::int64_t kPieceLength = 4194304;
    const std::string info = Dict({{"files", files},
                                   {"name", Str("archive")},
                                   {"piece length", Int(kPieceLength)},
                                   {"pieces", Str(PiecesOf(PiecesFor(total, kPieceLength) * 20))}});
    return Dict({{"announce", Str("udp://tracker.example.org:1337/announce")},
                 {"created by", Str("seedlens-bench/1.0")},
                 {"creation date", Int(1700000000)},
                 {"info", info}});
}

std::string ManyTrackersTorrent(std::size_t Trackers) {
    const auto url = [](std::size_t I) { return "udp://t" + Padded(I, 7) + ".example:80"; };
    std::string tiers = "l";
    tiers.reserve(32 * Trackers);
    for (std::size_t i = 0; i < Trackers; ++i) tiers += "l" + Str(url(i)) + "e";
    tiers += "e";
    return Dict({{"announce", Str(url(0))},
                 {"announce-list", tiers},
                 {"info", SmallInfo()}});
}

std::string ManyInfoIntegersTorrent(std::size_t Keys) {
    // "x" and the same number of digits sort after "pieces" and among themselves.
    const std::size_t digits = std::to_string(Keys > 0 ? Keys - 1 : 0).size();
    std::string extra;
    extra.reserve((digits + 8) * Keys);
    for (std::size_t i = 0; i < Keys; ++i)
        extra += Str("x" + Padded(i, digits)) + Int(static_cast<std::int64_t>(i % 10));
    return Dict({{"announce", Str("udp://tracker.example.org:1337/announce")}, {"info", SmallInfo(extra)}});
}

std::string ManyEmptyFilesEntriesTorrent(std::size_t Entries) {
    std::string files = "l";
    files.reserve(2 * Entries + 2);
    for (std::size_t i = 0; i < Entries; ++i) files += "de";
    files += "e";
    const std::string info = Dict({{"files", files},
                                   {"name", Str("empty entries")},
                                   {"piece length", Int(kSmallPieceLength)},
                                   {"pieces", Str(PiecesOf(20))}});
    return Dict({{"announce", Str("udp://tracker.example.org:1337/announce")}, {"info", info}});
}

}  // namespace seedlens::test
