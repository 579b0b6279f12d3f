#pragma once
// The files of a v2 "file tree", one after the other in stored order, each
// with the keys on the way down to it. The tree is nested dictionaries whose
// keys are path elements, down to a file, the dictionary under the empty key:
//
//   "file tree": { "dir": { "a.txt": { "": { "length": 5, ... } } },
//                  "b.txt": { "": { "length": 7, ... } } }
//
// Values that are no dictionary are passed over. Hostile trees are as deep
// as the reader allows: the walk keeps its own stack instead of recursing,
// and looks at every node once.

#include <span>
#include <string_view>
#include <vector>

#include "bencode/bencoded.h"

namespace seedlens {

class FileTreeFiles {
public:
    explicit FileTreeFiles(const TBEncoded& Tree);

    // Moves to the next file; false once there is none.
    bool Next();
    // The file's dictionary.
    const TBEncoded& File() const { return FFile; }
    // The keys above the file, from the top of the tree; the last is its
    // name. Empty for a file under the empty key at the very top.
    std::span<const std::string_view> Path() const { return FPath; }

private:
    struct Folder {
        TBEncodedDataList::Iterator Next;
        TBEncodedDataList::Iterator End;
    };
    std::vector<Folder> FStack;
    std::vector<std::string_view> FPath;  // one key per folder on the stack but the tree
    TBEncoded FFile;
};

}  // namespace seedlens
