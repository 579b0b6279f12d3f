#pragma once
// What the walks saw of the info dictionary's structure, for the checks that
// run once they are done (structure_checks.h). Every node is a view into the
// tree and is valid only while the walk that filled it runs. The files are
// not copied out: the checks read them from the tree, so a torrent of a
// million files costs nothing here.

#include <cstdint>
#include <string_view>

#include "bencode/bencoded.h"

namespace seedlens {

// Values of the info dictionary, the first of their key; a node that is not
// present when the key is missing.
struct InfoValues {
    bool IsDictionary = false;
    TBEncoded Info;  // the dictionary itself
    TBEncoded Name;
    TBEncoded Utf8Name;
    TBEncoded PieceLength;
    TBEncoded Pieces;
    TBEncoded Length;
    TBEncoded Files;     // the last "files": the list whose entries the fields count
    TBEncoded FileTree;  // the "file tree" the fields show, when a dictionary
    TBEncoded MetaVersion;
};

struct StructureFacts {
    InfoValues Info;
    // The first top-level "piece layers".
    TBEncoded PieceLayers;

    // Forgets what an earlier info dictionary showed.
    void ClearInfo() { Info = {}; }
    void Clear() {
        ClearInfo();
        PieceLayers = {};
    }
};

// One entry of "files", as clients read it: members are the first of their
// key, and not present when missing.
struct V1FileFacts {
    TBEncoded Length;
    TBEncoded Path;
    TBEncoded Utf8Path;
    TBEncoded Attr;
    bool Padding = false;
};
V1FileFacts FilesEntryFacts(const TBEncoded& Entry);

// One file of a v2 file tree, as clients read it: members are the first of
// their key, but for Size, the last "length" as the fields show it.
struct TreeFileFacts {
    TBEncoded Length;
    std::int64_t Size = 0;
    TBEncoded PiecesRoot;
    TBEncoded Attr;
};
TreeFileFacts TreeFileFactsOf(const TBEncoded& File);

}  // namespace seedlens
