// The walk of a v2 "file tree" (file_tree_files.h), the file list of a
// torrent that has no "pieces".

#include <string>
#include <vector>

#include "bencode/bencoded.h"
#include "torrent/file_tree_files.h"
#include "torrent/hostile_integers.h"
#include "torrent/structure_facts.h"
#include "torrent/torrent_file.h"
#include "torrent/walk_error.h"

namespace seedlens {

namespace {

// Pieces a file of Size bytes takes: every file starts a piece of its own.
std::uint64_t PiecesOf(std::int64_t Size, std::int64_t PieceLength) {
    if (Size <= 0 || PieceLength <= 0) return 0;
    return static_cast<std::uint64_t>((Size - 1) / PieceLength) + 1;
}

bool HoldsOneEntry(const TBEncodedDataList& Entries) {
    auto first = Entries.begin();
    return first != Entries.end() && ++first == Entries.end();
}

// One torrent file alone is the tree {name: {"": file}} and nothing else.
bool HoldsOneFileOnly(const TBEncoded& Tree) {
    const TBEncodedDataList root = Tree.ListData();
    if (!HoldsOneEntry(root) || !root.First().Data.IsDictionary()) return false;
    const TBEncodedDataList node = root.First().Data.ListData();
    return HoldsOneEntry(node) && node.First().Header.empty() && node.First().Data.IsDictionary();
}

// The path elements of the file at hand, decoded. A folder's key is decoded
// once, when the walk first reaches the folder, not again for each file in it.
class DecodedPath {
public:
    explicit DecodedPath(const TTorrentFile& Document) : FDocument(Document) {}

    // Decodes what changed since the last file; returns the path's bytes.
    std::size_t Update(std::span<const std::string_view> Path) {
        if (FKeys.size() > Path.size()) FKeys.resize(Path.size());
        FNames.resize(Path.size());
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < Path.size(); ++i) {
            if (i == FKeys.size() || FKeys[i].data() != Path[i].data()) {
                FKeys.resize(i);
                FKeys.push_back(Path[i]);
                FDocument.DecodeStringInto(Path[i], FNames[i]);
            }
            bytes += FNames[i].size();
        }
        return bytes;
    }
    const std::vector<std::string>& Names() const { return FNames; }

private:
    const TTorrentFile& FDocument;
    std::vector<std::string_view> FKeys;  // the raw keys FNames holds, from the top
    std::vector<std::string> FNames;
};

}  // namespace

void TTorrentFile::ParseFileTree(const TBEncoded& Tree, std::int64_t PieceLength) {
    const bool buildFiles = ParseOptions.Has(TParseOptionsKind::poParseFiles);
    // Every file repeats the names of the folders above it, so long folder
    // names over many files would make the list far larger than the tree:
    // past this many bytes of paths the list is refused.
    const std::size_t pathBudget =
        buildFiles ? 8 * static_cast<std::size_t>(Tree.StreamEndPos() - Tree.StreamStartPos()) + 65536 : 0;
    std::size_t listedBytes = 0;
    std::uint64_t pieces = 0;
    std::int32_t count = 0;
    TotalSize = 0;
    Files.clear();
    FFacts.TreeFiles = {};
    DecodedPath path(*this);
    for (FileTreeFiles files(Tree); files.Next();) {
        const TreeFileFacts facts = TreeFileFactsOf(files.File());
        NoteTreeFile(facts, FFacts.TreeFiles);
        const std::int64_t size = facts.Size;
        ++count;
        TotalSize = WrappingAdd(TotalSize, size);
        pieces += PiecesOf(size, PieceLength);
        if (!buildFiles) continue;
        listedBytes += path.Update(files.Path());
        if (listedBytes > pathBudget) throw WalkError("the file tree's paths are too long to list");
        TTorrentSubFile sub;
        for (const std::string& name : path.Names()) sub.Add(name);
        sub.SetSize(size);
        Files.push_back(std::move(sub));
    }
    SetFileCount(count);
    BlockCount = Low32(static_cast<std::int64_t>(pieces));
    Multifile = HoldsOneFileOnly(Tree) ? -1 : 1;
}

}  // namespace seedlens
