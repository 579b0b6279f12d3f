// libtorrent's view of torrent files, and the parse time of Seedlens against
// libtorrent on the same in-memory bytes.
//
//   compare_peers fields FILE...         one JSON object per file, as libtorrent reads it
//   compare_peers magnet LINK...         one JSON object per magnet link, as libtorrent parses it
//   compare_peers speed ROUNDS FILE...   per file: median ns of Seedlens' LoadStream,
//                                        of libtorrent's torrent_info, and of the info
//                                        hash alone (SHA-1, or SHA-256 for v2-only)

#include <libtorrent/magnet_uri.hpp>
#include <libtorrent/torrent_info.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bencode/bencode_tree.h"
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

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "fields") return Fields(argc - 2, argv + 2);
    if (command == "magnet") return Magnets(argc - 2, argv + 2);
    if (command == "speed" && argc > 2) return Speed(std::max(1, std::atoi(argv[2])), argc - 3, argv + 3);
    std::cerr << "usage: compare_peers fields FILE... | compare_peers magnet LINK... | compare_peers speed ROUNDS FILE...\n";
    return 2;
}
