// Loading a document from arbitrary bytes with each parse option: it loads
// or raises LoadError, and what it loads can be read whole.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bencode/memory_stream.h"
#include "torrent/load_error.h"
#include "torrent/torrent_file.h"

using seedlens::TParseOptions;
using seedlens::TParseOptionsKind;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view bytes(reinterpret_cast<const char*>(Data), Size);
    const TParseOptions options[] = {
        {},
        {TParseOptionsKind::poParseFiles},
        {TParseOptionsKind::poParseHashes},
        {TParseOptionsKind::poFindEncoding},
        {TParseOptionsKind::poParseFiles, TParseOptionsKind::poParseHashes, TParseOptionsKind::poFindEncoding},
    };
    for (const TParseOptions& option : options) {
        seedlens::TTorrentFile doc;
        doc.ParseOptions = option;
        seedlens::MemoryStream stream(bytes);
        try {
            doc.LoadStream(stream);
        } catch (const seedlens::LoadError&) {
            continue;
        }
        // Everything a caller may read.
        std::size_t sink = doc.ErrorString().size() + doc.TrackerShort().size() + doc.Hash.size();
        for (const auto& file : doc.Files) sink += file.FullPath().size() + file.PathName().size();
        for (std::int32_t i = 0; i < doc.BlockListCount(); ++i) sink += doc.Block(i).size();
        // SHA-1, or SHA-256 for a v2-only torrent.
        if (doc.Hash.size() != 0 && doc.Hash.size() != (doc.V2Only ? 64u : 40u)) __builtin_trap();
        (void)sink;
    }
    return 0;
}
