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
#include "torrent/torrent_file.h"
#include "torrent/walk_error.h"

namespace seedlens {

namespace {

// A file's size is its last "length"; 0 when that is missing or no integer.
std::int64_t FileLength(const TBEncoded& File) {
    std::int64_t length = 0;
    for (const TBEncodedData& member : File.ListData())
        if (member.Header == "length") length = member.Data.IntegerData();
    return length;
}

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
};

}  // namespace

void TTorrentFile::ParseFileTree(const TBEncoded& Tree, std::int64_t PieceLength) {
    const bool buildFiles = ParseOptions.Has(TParseOptionsKind::poParseFiles);
    // Every file repeats the names of the folders above it, so long folder
    // names over many files would make the list far larger than the tree:
    // past this many bytes of paths the list is refused.
    const std::size_t pathBudget = 8 * static_cast<std::size_t>(Tree.StreamEndPos() - Tree.StreamStartPos()) + 65536;
    std::size_t pathBytes = 0, listedBytes = 0;
    std::int32_t files = 0;
    std::uint64_t pieces = 0;
    TotalSize = 0;
    Files.clear();
    // Folder names down to the folder walked now, decoded once, only for sub-files.
    std::vector<std::string> path;
    std::vector<Folder> stack;
    const TBEncodedDataList root = Tree.ListData();
    stack.push_back({root.begin(), root.end()});
    while (!stack.empty()) {
        Folder& folder = stack.back();
        if (folder.Next == folder.End) {
            stack.pop_back();
            if (!path.empty()) {
                pathBytes -= path.back().size();
                path.pop_back();
            }
            continue;
        }
        const TBEncodedData& entry = *folder.Next++;
        if (!entry.Data.IsDictionary()) continue;
        if (entry.Header.empty()) {
            const std::int64_t size = FileLength(entry.Data);
            ++files;
            TotalSize = WrappingAdd(TotalSize, size);
            pieces += PiecesOf(size, PieceLength);
            if (buildFiles) {
                listedBytes += pathBytes;
                if (listedBytes > pathBudget) throw WalkError("the file tree's paths are too long to list");
                TTorrentSubFile file;
                for (const std::string& element : path) file.Add(element);
                file.SetSize(size);
                Files.push_back(std::move(file));
            }
            continue;
        }
        const TBEncodedDataList children = entry.Data.ListData();
        stack.push_back({children.begin(), children.end()});
        path.push_back(buildFiles ? DecodeString(entry.Header) : std::string());
        pathBytes += path.back().size();
    }
    SetFileCount(files);
    BlockCount = Low32(static_cast<std::int64_t>(pieces));
    Multifile = HoldsOneFileOnly(Tree) ? -1 : 1;
}

}  // namespace seedlens
