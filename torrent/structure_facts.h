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

// What the checks ask of every file of a list, gathered in one pass.
struct FilesSummary {
    bool AnySizeMissing = false;
    bool AnyPathMissing = false;  // the "files" list only
    bool AnyData = false;
    std::uint64_t Total = 0;        // every size, saturating
    bool AnyRootMissing = false;  // the file tree only
    bool AnyPadding = false;      // the file tree only
};

struct StructureFacts {
    InfoValues Info;
    // The entries of the last "files", as the files walk met them.
    FilesSummary V1Files;
    // The files of the "file tree" the fields show, as the tree walk met them.
    FilesSummary TreeFiles;
    // The first top-level "piece layers".
    TBEncoded PieceLayers;

    // Forgets what an earlier info dictionary showed.
    void ClearInfo() {
        Info = {};
        V1Files = {};
        TreeFiles = {};
    }
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
    std::int64_t FirstSize = 0;  // the value of Length, when an integer
    // As the fields read it: the last "length" is the file's size, and
    // every "length" counts towards the total, wrapping.
    std::int64_t LastSize = 0;
    std::int64_t Lengths = 0;
};
V1FileFacts FilesEntryFacts(const TBEncoded& Entry);
// Adds one entry of "files" (facts of nothing for one that is no list or
// dictionary) to what the checks ask of them.
void NoteV1File(const V1FileFacts& File, FilesSummary& Summary);

// One file of a v2 file tree, as clients read it: members are the first of
// their key, but for Size, the last "length" as the fields show it.
struct TreeFileFacts {
    TBEncoded Length;
    std::int64_t Size = 0;
    TBEncoded PiecesRoot;
    TBEncoded Attr;
};
TreeFileFacts TreeFileFactsOf(const TBEncoded& File);
// Adds one file of the file tree to what the checks ask of them.
void NoteTreeFile(const TreeFileFacts& File, FilesSummary& Summary);

}  // namespace seedlens
