// libtorrent's view of torrent files, and the parse time of Seedlens against
// libtorrent on the same in-memory bytes.
//
//   compare_peers fields FILE...         one JSON object per file, as libtorrent reads it
//   compare_peers magnet LINK...         one JSON object per magnet link, as libtorrent parses it
//   compare_peers speed ROUNDS FILE...   per file: median ns of Seedlens' LoadStream,
//                                        of libtorrent's torrent_info, and of the info
//                                        hash alone (SHA-1, or SHA-256 for v2-only)
//   compare_peers cold FILE ROUNDS       one file from disk, taking turns: Seedlens'
//                                        cold request through the plug-in's code (an
//                                        empty cache each round), libtorrent's
//                                        torrent_info with its limits raised, and its
//                                        bare bdecode; median ms of each and the ratios

#include <libtorrent/bdecode.hpp>
#include <libtorrent/magnet_uri.hpp>
#include <libtorrent/torrent_info.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bencode/bencode_tree.h"
#include "platform/code_pages.h"
#include "plugin/plugin_library.h"
#include "plugin/value_request.h"
#include "torrent/hashes.h"
#include "torrent/torrent_file.h"

namespace {

std::string ReadFile(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Json(const std::string& Text) {
    std::string out = "\"";
    for (unsigned char c : Text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string JsonList(const std::vector<std::string>& Texts) {
    std::string out = "[";
    for (const std::string& text : Texts) out += (out.size() > 1 ? ", " : "") + Json(text);
    return out + "]";
}

template <typename Hash>
std::string Hex(const Hash& Digest) {
    std::ostringstream text;
    text << Digest;
    return text.str();
}

// The hashes, name, trackers and web seeds a magnet link gives libtorrent.
int Magnets(int Count, char** Links) {
    for (int i = 0; i < Count; ++i) {
        lt::error_code error;
        const lt::add_torrent_params params = lt::parse_magnet_uri(Links[i], error);
        std::cout << "{\"link\": " << Json(Links[i]);
        if (error) {
            std::cout << ", \"error\": " << Json(error.message()) << "}\n";
            continue;
        }
        const lt::info_hash_t& hashes = params.info_hashes;
        std::cout << ", \"v1\": " << Json(hashes.has_v1() ? Hex(hashes.v1) : "")
                  << ", \"v2\": " << Json(hashes.has_v2() ? Hex(hashes.v2) : "") << ", \"name\": " << Json(params.name)
                  << ", \"trackers\": " << JsonList(params.trackers) << ", \"web_seeds\": " << JsonList(params.url_seeds)
                  << "}\n";
    }
    return 0;
}

int Fields(int Count, char** Paths) {
    for (int i = 0; i < Count; ++i) {
        const std::string bytes = ReadFile(Paths[i]);
        lt::error_code error;
        const lt::torrent_info info(lt::span<char const>(bytes.data(), static_cast<std::ptrdiff_t>(bytes.size())),
                                    error, lt::from_span);
        std::cout << "{\"path\": " << Json(Paths[i]);
        if (error) {
            std::cout << ", \"error\": " << Json(error.message()) << "}\n";
            continue;
        }
        const lt::file_storage& files = info.files();
        const lt::file_index_t first{0};
        // Padding files are no files of the torrent's content.
        int realFiles = 0;
        std::int64_t realTotal = 0;
        for (const lt::file_index_t f : files.file_range()) {
            if (files.pad_file_at(f)) continue;
            ++realFiles;
            realTotal += files.file_size(f);
        }
        // A torrent is known by its v1 hash, or by its v2 hash when it has no v1 part.
        std::ostringstream hash;
        if (info.info_hashes().has_v1())
            hash << info.info_hashes().v1;
        else
            hash << info.info_hashes().v2;
        std::cout << ", \"name\": " << Json(info.name()) << ", \"files\": " << realFiles
                  << ", \"total\": " << realTotal << ", \"piece_length\": " << info.piece_length()
                  << ", \"pieces\": " << info.num_pieces() << ", \"tracker\": "
                  << Json(info.trackers().empty() ? "" : info.trackers().front().url)
                  << ", \"created\": " << info.creation_date() << ", \"hash\": " << Json(hash.str())
                  << ", \"comment\": " << Json(info.comment()) << ", \"creator\": " << Json(info.creator())
                  << ", \"private\": " << (info.priv() ? "true" : "false") << ", \"multifile\": "
                  << (files.num_files() > 0 && files.file_path(first) != std::string(files.file_name(first))
                          ? "true"
                          : "false");
        std::vector<std::string> trackers, seeds;
        for (const lt::announce_entry& tracker : info.trackers()) trackers.push_back(tracker.url);
        for (const lt::web_seed_entry& seed : info.web_seeds())
            if (seed.type == lt::web_seed_entry::url_seed) seeds.push_back(seed.url);
        std::cout << ", \"has_v1\": " << (info.info_hashes().has_v1() ? "true" : "false")
                  << ", \"has_v2\": " << (info.info_hashes().has_v2() ? "true" : "false")
                  << ", \"sha256\": " << Json(info.info_hashes().has_v2() ? Hex(info.info_hashes().v2) : "")
                  << ", \"magnet\": " << Json(lt::make_magnet_uri(info)) << ", \"trackers\": " << JsonList(trackers)
                  << ", \"web_seeds\": " << JsonList(seeds) << "}\n";
    }
    return 0;
}

template <typename Fn>
double MedianNanoseconds(int Rounds, Fn&& Body) {
    std::vector<double> times;
    for (int r = 0; r < Rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        Body();
        times.push_back(std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
    return times[times.size() / 2];
}

int Speed(int Rounds, int Count, char** Paths) {
    std::cout << "path\tseedlens_ns\tlibtorrent_ns\tinfo_hash_ns\n";
    for (int i = 0; i < Count; ++i) {
        const std::string bytes = ReadFile(Paths[i]);
        std::string info;
        {
            seedlens::MemoryStream stream(bytes);
            seedlens::TBEncodedTree tree(stream);
            if (const auto entry = tree.Root().ListData().FindElement("info"))
                info = bytes.substr(static_cast<std::size_t>(entry->Data.StreamStartPos()),
                                    static_cast<std::size_t>(entry->Data.StreamEndPos() - entry->Data.StreamStartPos()));
        }
        seedlens::TTorrentFile probe;
        seedlens::MemoryStream probeStream(bytes);
        probe.LoadStream(probeStream);
        const auto algorithm =
            probe.V2Only ? seedlens::platform::DigestAlgorithm::Sha256 : seedlens::platform::DigestAlgorithm::Sha1;
        const double seedlens = MedianNanoseconds(Rounds, [&] {
            seedlens::TTorrentFile document;
            document.ParseOptions = {seedlens::TParseOptionsKind::poFindEncoding};
            seedlens::MemoryStream stream(bytes);
            document.LoadStream(stream);
            if (document.Hash.empty()) std::abort();
        });
        const double libtorrent = MedianNanoseconds(Rounds, [&] {
            lt::error_code error;
            const lt::torrent_info parsed(
                lt::span<char const>(bytes.data(), static_cast<std::ptrdiff_t>(bytes.size())), error, lt::from_span);
            if (error) std::abort();
        });
        std::string digest;
        const double hash = MedianNanoseconds(Rounds, [&] {
            seedlens::GetStringHashInto(info, algorithm, digest);
            if (digest.empty()) std::abort();
        });
        std::cout << Paths[i] << '\t' << seedlens << '\t' << libtorrent << '\t' << hash << '\n';
    }
    return 0;
}

double Median(std::vector<double> Values) {
    std::nth_element(Values.begin(), Values.begin() + static_cast<std::ptrdiff_t>(Values.size() / 2), Values.end());
    return Values[Values.size() / 2];
}

template <typename Fn>
double Milliseconds(Fn&& Body) {
    const auto start = std::chrono::steady_clock::now();
    Body();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// libtorrent's limits raised for large files. A file of 7.9 million empty
// lists still goes over its tokens (two a list): bdecode alone, with room
// for them, then gives the parse time.
lt::load_torrent_limits RaisedLimits() {
    lt::load_torrent_limits limits;
    limits.max_buffer_size = 256 * 1024 * 1024;
    limits.max_pieces = 50'000'000;
    limits.max_decode_depth = 1000;
    limits.max_decode_tokens = 10'000'000;
    return limits;
}
constexpr int kBdecodeTokens = 100'000'000;

// The three loads of Path, each timed; a refusal is kept, not fatal.
struct ColdLoads {
    std::string Path;
    std::u16string Name;
    std::int32_t SeedlensAnswer = 0;
    std::string TorrentInfoRefusal, BdecodeRefusal;

    double Seedlens(seedlens::PluginLibrary& Library) {
        char16_t value[1024];
        return Milliseconds([&] {
            SeedlensAnswer =
                seedlens::RequestValue(Library, Name, 0, 0, value, sizeof value, 0, seedlens::TextWidth::Wide);
        });
    }
    double TorrentInfo() {
        return Milliseconds([&] {
            try {
                const lt::torrent_info info(Path, RaisedLimits());
            } catch (const std::exception& error) {
                TorrentInfoRefusal = error.what();
            }
        });
    }
    // Reading the file is part of it, as it is of the other two: in one
    // read, as they do, not byte by byte as ReadFile does.
    double Bdecode() {
        return Milliseconds([&] {
            std::ifstream in(Path, std::ios::binary | std::ios::ate);
            std::vector<char> bytes(static_cast<std::size_t>(in.tellg()));
            in.seekg(0).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            lt::error_code error;
            const lt::bdecode_node root =
                lt::bdecode(lt::span<char const>(bytes.data(), static_cast<std::ptrdiff_t>(bytes.size())), error,
                            nullptr, 1000, kBdecodeTokens);
            if (error) BdecodeRefusal = error.message();
        });
    }
};

int Cold(const std::string& Path, int Rounds) {
    if (!std::ifstream(Path)) {
        std::cerr << "compare_peers: cannot read " << Path << '\n';
        return 1;
    }
    ColdLoads loads{Path, seedlens::platform::Utf8ToUtf16(Path)};
    std::vector<double> seedlens, torrentInfo, bdecode;
    for (int round = 0; round < Rounds; ++round) {
        auto library = std::make_unique<seedlens::PluginLibrary>();  // an empty cache
        const std::function<void()> steps[] = {
            [&] { seedlens.push_back(loads.Seedlens(*library)); },
            [&] { torrentInfo.push_back(loads.TorrentInfo()); },
            [&] { bdecode.push_back(loads.Bdecode()); },
        };
        // Each goes first in turn: whichever runs first meets colder caches.
        for (int step = 0; step < 3; ++step) steps[(round + step) % 3]();
    }
    const double ours = Median(seedlens), theirs = Median(torrentInfo), decode = Median(bdecode);
    const auto refusal = [](const std::string& Reason) {
        return Reason.empty() ? std::string() : "  refused: " + Reason;
    };
    std::printf("%s, %d rounds, median ms\n", Path.c_str(), Rounds);
    std::printf("  seedlens cold request     %10.1f  answer %d\n", ours, loads.SeedlensAnswer);
    std::printf("  libtorrent torrent_info   %10.1f%s\n", theirs, refusal(loads.TorrentInfoRefusal).c_str());
    std::printf("  libtorrent bdecode        %10.1f%s\n", decode, refusal(loads.BdecodeRefusal).c_str());
    std::printf("  seedlens / torrent_info   %10.2f\n", ours / theirs);
    std::printf("  seedlens / bdecode        %10.2f\n", ours / decode);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "fields") return Fields(argc - 2, argv + 2);
    if (command == "magnet") return Magnets(argc - 2, argv + 2);
    if (command == "speed" && argc > 2) return Speed(std::max(1, std::atoi(argv[2])), argc - 3, argv + 3);
    if (command == "cold" && argc == 4) return Cold(argv[2], std::max(1, std::atoi(argv[3])));
    std::cerr << "usage: compare_peers fields FILE... | compare_peers magnet LINK... | compare_peers speed ROUNDS FILE...\n"
                 "     | compare_peers cold FILE ROUNDS\n";
    return 2;
}
