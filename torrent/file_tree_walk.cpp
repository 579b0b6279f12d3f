// The walk of a v2 "file tree": nested dictionaries whose keys are path
// elements, down to a file, the dictionary under the empty key:
//
//   "file tree": { "dir": { "a.txt": { "": { "length": 5, ... } } },
//                  "b.txt": { "": { "length": 7, ... } } }
//
// Hostile trees are as deep as the reader allows: the walk keeps its own
// stack instead of recursing, and looks at every node once.

#include <string>
#include <vector>

#include "bencode/bencoded.h"
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

// One torrent file alone is the tree {name: {"": file}} and nothing else.
bool HoldsOneFileOnly(const TBEncoded& Tree) {
    const TBEncodedDataList root = Tree.ListData();
    if (root.Count() != 1 || !root.First().Data.IsDictionary()) return false;
    const TBEncodedDataList node = root.First().Data.ListData();
    return node.Count() == 1 && node.First().Header.empty() && node.First().Data.IsDictionary();
}

struct Folder {
    const TBEncodedData* Next;
    const TBEncodedData* End;
    std::int32_t Node;  // its key in the tree's nodes; -1 for the tree itself
};

TreeFileFacts FileFacts(const TBEncoded& File, std::int32_t Node) {
    TreeFileFacts facts{Node};
    // The first of a repeated key, as clients read it.
    for (const TBEncodedData& member : File.ListData()) {
        const TBEncoded** slot = member.Header == "length"        ? &facts.Length
                                 : member.Header == "pieces root" ? &facts.PiecesRoot
                                 : member.Header == "attr"        ? &facts.Attr
                                                                  : nullptr;
        if (slot != nullptr && *slot == nullptr) *slot = &member.Data;
        // The size shown is the last "length"; 0 when that is no integer.
        if (slot == &facts.Length) facts.Size = member.Data.IntegerData();
    }
    return facts;
}

}  // namespace

void CollectFileTree(const TBEncoded& Tree, StructureFacts& Facts) {
    Facts.TreeNodes.clear();
    Facts.TreeFiles.clear();
    std::vector<Folder> stack;
    const TBEncodedDataList root = Tree.ListData();
    stack.push_back({root.begin(), root.end(), -1});
    while (!stack.empty()) {
        Folder& folder = stack.back();
        if (folder.Next == folder.End) {
            stack.pop_back();
            continue;
        }
        const TBEncodedData& entry = *folder.Next++;
        if (!entry.Data.IsDictionary()) continue;
        if (entry.Header.empty()) {
            Facts.TreeFiles.push_back(FileFacts(entry.Data, folder.Node));
            continue;
        }
        const auto node = static_cast<std::int32_t>(Facts.TreeNodes.size());
        Facts.TreeNodes.push_back({entry.Header, folder.Node});
        const TBEncodedDataList children = entry.Data.ListData();
        stack.push_back({children.begin(), children.end(), node});
    }
}

void TTorrentFile::ParseFileTree(const TBEncoded& Tree, std::int64_t PieceLength) {
    CollectFileTree(Tree, FFacts);
    const bool buildFiles = ParseOptions.Has(TParseOptionsKind::poParseFiles);
    // Every file repeats the names of the folders above it, so long folder
    // names over many files would make the list far larger than the tree:
    // past this many bytes of paths the list is refused.
    const std::size_t pathBudget = 8 * static_cast<std::size_t>(Tree.StreamEndPos() - Tree.StreamStartPos()) + 65536;
    std::size_t listedBytes = 0;
    std::uint64_t pieces = 0;
    TotalSize = 0;
    Files.clear();
    // Each key decoded once, with the bytes of the path down to it.
    std::vector<std::string> names;
    std::vector<std::size_t> pathBytes;
    if (buildFiles) {
        names.reserve(FFacts.TreeNodes.size());
        pathBytes.reserve(FFacts.TreeNodes.size());
        for (const TreeNodeFacts& node : FFacts.TreeNodes) {
            names.push_back(DecodeString(node.Key));
            pathBytes.push_back(names.back().size() + (node.Parent < 0 ? 0 : pathBytes[static_cast<std::size_t>(node.Parent)]));
        }
    }
    std::vector<std::int32_t> chain;
    for (const TreeFileFacts& file : FFacts.TreeFiles) {
        const std::int64_t size = file.Size;
        TotalSize = WrappingAdd(TotalSize, size);
        pieces += PiecesOf(size, PieceLength);
        if (!buildFiles) continue;
        if (file.Node >= 0) listedBytes += pathBytes[static_cast<std::size_t>(file.Node)];
        if (listedBytes > pathBudget) throw WalkError("the file tree's paths are too long to list");
        chain.clear();
        for (std::int32_t n = file.Node; n >= 0; n = FFacts.TreeNodes[static_cast<std::size_t>(n)].Parent) chain.push_back(n);
        TTorrentSubFile sub;
        for (auto n = chain.rbegin(); n != chain.rend(); ++n) sub.Add(names[static_cast<std::size_t>(*n)]);
        sub.SetSize(size);
        Files.push_back(std::move(sub));
    }
    SetFileCount(static_cast<std::int32_t>(FFacts.TreeFiles.size()));
    BlockCount = Low32(static_cast<std::int64_t>(pieces));
    Multifile = HoldsOneFileOnly(Tree) ? -1 : 1;
}

}  // namespace seedlens
