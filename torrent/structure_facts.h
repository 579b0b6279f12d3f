#pragma once
// What the walks saw of the info dictionary's structure, for the checks that
// run once they are done (structure_checks.h). Every pointer is a view into
// the tree and is valid only while the walk that filled it runs.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "bencode/bencoded.h"

namespace seedlens {

// One entry of "files", as the files walk met it. Members are the first of
// their key, as clients read them; nullptr when missing.
struct V1FileFacts {
    const TBEncoded* Length = nullptr;
    const TBEncoded* Path = nullptr;
    const TBEncoded* Utf8Path = nullptr;
    const TBEncoded* Attr = nullptr;
    bool Padding = false;
};

// A key of the file tree on the way down to a file: a folder, or the name
// of a file, whose dictionary sits under the empty key below it.
struct TreeNodeFacts {
    std::string_view Key;
    std::int32_t Parent;  // -1 at the top of the tree
};

// One file of the file tree. Members are the first of their key.
struct TreeFileFacts {
    std::int32_t Node;  // its name in the tree's nodes; -1 for a file at the very top
    const TBEncoded* Length = nullptr;  // the first "length", as clients read it
    std::int64_t Size = 0;              // the last, as the fields show it
    const TBEncoded* PiecesRoot = nullptr;
    const TBEncoded* Attr = nullptr;
};

// Values of the info dictionary, the first of their key.
struct InfoValues {
    bool IsDictionary = false;
    bool IsCanonical = true;
    const TBEncoded* Name = nullptr;
    const TBEncoded* Utf8Name = nullptr;
    const TBEncoded* PieceLength = nullptr;
    const TBEncoded* Pieces = nullptr;
    const TBEncoded* Length = nullptr;
    const TBEncoded* Files = nullptr;     // the last "files", whose entries V1Files lists
    const TBEncoded* FileTree = nullptr;  // the "file tree" the fields show, when a dictionary
    const TBEncoded* MetaVersion = nullptr;
};

struct StructureFacts {
    InfoValues Info;
    // The entries of "files" when it is a list, in stored order.
    std::vector<V1FileFacts> V1Files;
    // The file tree in stored order.
    std::vector<TreeNodeFacts> TreeNodes;
    std::vector<TreeFileFacts> TreeFiles;
    // The first top-level "piece layers".
    const TBEncoded* PieceLayers = nullptr;

    // Forgets what an earlier info dictionary showed; the lists keep their buffers.
    void ClearInfo() {
        Info = {};
        V1Files.clear();
        TreeNodes.clear();
        TreeFiles.clear();
    }
    void Clear() {
        ClearInfo();
        PieceLayers = nullptr;
    }
    std::size_t HeldBytes() const {
        return V1Files.capacity() * sizeof(V1FileFacts) + TreeNodes.capacity() * sizeof(TreeNodeFacts) +
               TreeFiles.capacity() * sizeof(TreeFileFacts);
    }
};

// Lists the files of a "file tree" dictionary, and the keys above them,
// into Facts, in stored order.
void CollectFileTree(const TBEncoded& Tree, StructureFacts& Facts);

}  // namespace seedlens
