#include "torrent/file_tree_files.h"
#include "torrent/key_table.h"
#include "torrent/structure_facts.h"

namespace seedlens {

FileTreeFiles::FileTreeFiles(const TBEncoded& Tree) {
    const TBEncodedDataList root = Tree.ListData();
    FStack.push_back({root.begin(), root.end()});
}

bool FileTreeFiles::Next() {
    while (!FStack.empty()) {
        Folder& folder = FStack.back();
        if (folder.Next == folder.End) {
            FStack.pop_back();
            if (!FPath.empty()) FPath.pop_back();
            continue;
        }
        const TBEncodedData entry = *folder.Next++;
        if (!entry.Data.IsDictionary()) continue;
        if (entry.Header.empty()) {
            FFile = entry.Data;
            return true;
        }
        FPath.push_back(entry.Header);
        const TBEncodedDataList children = entry.Data.ListData();
        FStack.push_back({children.begin(), children.end()});
    }
    return false;
}

TreeFileFacts TreeFileFactsOf(const TBEncoded& File) {
    TreeFileFacts facts;
    for (const TBEncodedData& member : File.ListData()) {
        TBEncoded* slot = SameKey(member.Header, "length")        ? &facts.Length
                          : SameKey(member.Header, "pieces root") ? &facts.PiecesRoot
                          : SameKey(member.Header, "attr")        ? &facts.Attr
                                                           : nullptr;
        if (slot != nullptr && !slot->IsPresent()) *slot = member.Data;
        if (slot == &facts.Length) facts.Size = member.Data.IntegerData();
    }
    return facts;
}

}  // namespace seedlens
