#include "torrent/structure_checks.h"

#include <algorithm>
#include <limits>
#include <span>
#include <vector>

#include "torrent/file_tree_files.h"

namespace seedlens {

namespace {

constexpr std::uint64_t kPieceHashBytes = 20;
constexpr std::uint64_t kRootHashBytes = 32;
// A v2 piece covers whole 16 KiB blocks of its Merkle tree.
constexpr std::int64_t kMinV2PieceLength = 16384;

// What every row reads: the facts, what they say of the files, and the
// rows that failed before it.
struct CheckInput {
    const StructureFacts& Facts;
    const FilesSummary& V1Files;  // the "files" list, when it is a list
    const FilesSummary& TreeFiles;
    std::uint32_t Failed;

    const InfoValues& Info() const { return Facts.Info; }
    bool HasTree() const { return Facts.Info.FileTree.IsPresent(); }
    // The first format's view: there is no tree, or "pieces" is there too.
    bool HasV1View() const { return !HasTree() || Facts.Info.Pieces.IsPresent(); }
    bool HasFilesList() const { return Facts.Info.Files.IsList(); }
    bool Passed(int FirstRow, int LastRow) const {
        for (int row = FirstRow; row <= LastRow; ++row)
            if ((Failed & (1u << (row - 1))) != 0) return false;
        return true;
    }
    std::int64_t PieceLength() const { return Info().PieceLength.IntegerData(); }
};

bool IsSize(const TBEncoded& Node) { return Node.IsInteger() && Node.IntegerData() >= 0; }
std::int64_t SizeOf(const TBEncoded& Node) { return Node.IntegerData(); }
bool Holds(const TBEncoded& Attr, char Letter) { return Attr.StringData().find(Letter) != std::string_view::npos; }
// A link ("l") holds no data of its own: it needs no length.
bool HasSize(const TBEncoded& Length, const TBEncoded& Attr) {
    return IsSize(Length) || (!Length.IsPresent() && Holds(Attr, 'l'));
}

// Visits the entries of the "files" list as clients read them, up to and
// including the first that is no list or dictionary (facts of nothing):
// the walk stops there, and so do the checks.
template <typename Visit>
void ForEachV1File(const CheckInput& In, Visit&& Visitor) {
    for (const TBEncodedData& entry : In.Info().Files.ListData()) {
        if (!entry.Data.HasEntries()) {
            Visitor(V1FileFacts{});
            return;
        }
        Visitor(FilesEntryFacts(entry.Data));
    }
}

std::uint64_t SaturatingAdd(std::uint64_t A, std::uint64_t B) {
    return A > std::numeric_limits<std::uint64_t>::max() - B ? std::numeric_limits<std::uint64_t>::max() : A + B;
}
std::uint64_t PiecesFor(std::uint64_t Size, std::int64_t PieceLength) {
    return Size == 0 ? 0 : (Size - 1) / static_cast<std::uint64_t>(PieceLength) + 1;
}

// The name a client shows: "name.utf-8" when it is a string, else "name".
std::string_view ShownName(const InfoValues& Info) {
    if (Info.Utf8Name.IsString()) return Info.Utf8Name.StringData();
    return Info.Name.StringData();
}

// A file's path elements: "path.utf-8" when it is a list, else "path";
// a node that is not present when neither is.
TBEncoded ChosenPath(const V1FileFacts& File) {
    if (File.Utf8Path.IsList()) return File.Utf8Path;
    if (File.Path.IsList()) return File.Path;
    return {};
}

bool HasPath(const V1FileFacts& File) {
    const TBEncoded path = ChosenPath(File);
    if (path.ListData().Empty()) return false;
    for (const TBEncodedData& element : path.ListData())
        if (!element.Data.IsString()) return false;
    return true;
}

bool IsRootHash(const TBEncoded& Node) {
    if (!Node.IsString() || Node.StringData().size() != kRootHashBytes) return false;
    return Node.StringData().find_first_not_of('\0') != std::string_view::npos;
}

// The first format's files, padding included: the "files" list, or the one "length".
bool V1HasData(const CheckInput& In) {
    return In.HasFilesList() ? In.V1Files.AnyData : SizeOf(In.Info().Length) > 0;
}
std::uint64_t V1Total(const CheckInput& In) {
    if (In.HasFilesList()) return In.V1Files.Total;
    return static_cast<std::uint64_t>(SizeOf(In.Info().Length));
}

// --- the rows ---

// Clients drop zero bytes and separators from a single file's name; what
// is left must name a file.
bool NameFails(const CheckInput& In) {
    if (!In.Info().Name.IsString() && !In.Info().Utf8Name.IsString()) return true;
    if (In.HasFilesList() || In.HasTree()) return false;
    // Only the first three bytes kept can make the name empty, "." or "..".
    char kept[3] = {};
    std::size_t count = 0;
    for (const char c : ShownName(In.Info())) {
        if (c == '\0' || c == '/' || c == '\\') continue;
        if (count == 3) return false;
        kept[count++] = c;
    }
    const std::string_view name(kept, count);
    return name.empty() || name == "." || name == "..";
}

bool PieceLengthFails(const CheckInput& In) {
    if (!In.Info().PieceLength.IsInteger() || In.PieceLength() <= 0) return true;
    const std::int64_t length = In.PieceLength();
    return In.HasTree() && (length < kMinV2PieceLength || (length & (length - 1)) != 0);
}

bool PiecesFails(const CheckInput& In) {
    if (!In.HasV1View()) return false;
    const TBEncoded& pieces = In.Info().Pieces;
    return !pieces.IsString() || pieces.StringData().size() % kPieceHashBytes != 0;
}

bool FileLengthFails(const CheckInput& In) {
    if (In.HasV1View()) {
        if (In.HasFilesList()) {
            if (In.V1Files.AnySizeMissing) return true;
        } else if (!In.HasTree() || In.Info().Length.IsPresent()) {
            if (!IsSize(In.Info().Length)) return true;
        }
    }
    return In.TreeFiles.AnySizeMissing;
}

bool PathFails(const CheckInput& In) {
    if (!In.HasV1View() || !In.HasFilesList()) return false;
    return In.V1Files.AnyPathMissing;
}

bool NoDataFails(const CheckInput& In) {
    if (!In.Passed(4, 5)) return false;
    return !(In.HasV1View() ? V1HasData(In) : In.TreeFiles.AnyData);
}

bool PieceCountFails(const CheckInput& In) {
    if (!In.HasV1View() || !In.Passed(2, 6)) return false;
    return In.Info().Pieces.StringData().size() / kPieceHashBytes != PiecesFor(V1Total(In), In.PieceLength());
}

bool MetaVersionFails(const CheckInput& In) {
    const TBEncoded& version = In.Info().MetaVersion;
    if (In.HasTree() && !(version.IsInteger() && version.IntegerData() == 2)) return true;
    return version.IsInteger() && version.IntegerData() > 2;
}

bool FileTreeFails(const CheckInput& In) {
    const TBEncoded& version = In.Info().MetaVersion;
    return version.IsInteger() && version.IntegerData() == 2 && !In.HasTree();
}

bool RootHashFails(const CheckInput& In) { return In.TreeFiles.AnyRootMissing; }

bool V2PaddingFails(const CheckInput& In) { return In.TreeFiles.AnyPadding; }

// Layers a client has no file for, or no layers at all, it fetches from
// peers; layers it has a file for must fit that file.
bool PieceLayersFails(const CheckInput& In) {
    const TBEncoded& layers = In.Facts.PieceLayers;
    if (!In.HasTree() || !layers.IsDictionary()) return false;
    std::size_t layerCount = 0;
    for (const TBEncodedData& entry : layers.ListData()) {
        if (entry.Header.size() != kRootHashBytes || !entry.Data.IsString()) return true;
        if (entry.Data.StringData().size() % kRootHashBytes != 0) return true;
        ++layerCount;
    }
    const std::int64_t pieceLength = In.PieceLength();
    if (pieceLength <= 0) return false;
    // A root and the bytes of its layer, as the layers hold them or as a
    // file of the tree needs them.
    struct Layer {
        std::string_view Root;
        std::uint64_t Bytes;
        bool operator<(const Layer& Other) const { return Root < Other.Root; }
    };
    const auto forEachNeeded = [&](auto&& Visit) {
        for (FileTreeFiles files(In.Info().FileTree); files.Next();) {
            const TreeFileFacts file = TreeFileFactsOf(files.File());
            const std::int64_t size = SizeOf(file.Length);
            if (size <= pieceLength || !file.PiecesRoot.IsString()) continue;
            Visit(Layer{file.PiecesRoot.StringData(),
                        kRootHashBytes * PiecesFor(static_cast<std::uint64_t>(size), pieceLength)});
        }
    };
    const auto forEachStored = [&](auto&& Visit) {
        for (const TBEncodedData& entry : layers.ListData()) Visit(Layer{entry.Header, entry.Data.StringData().size()});
    };
    std::size_t neededCount = 0;
    forEachNeeded([&](const Layer&) { ++neededCount; });
    // Either side may be the hostile one: the smaller is sorted, and the
    // other looked up in it. Of a repeated root the first layer counts, as
    // clients read the first of a repeated key.
    std::vector<Layer> sorted;
    const auto keep = [&](const Layer& L) { sorted.push_back(L); };
    bool differ = false;
    if (neededCount > layerCount) {
        forEachStored(keep);
        std::stable_sort(sorted.begin(), sorted.end());
        forEachNeeded([&](const Layer& File) {
            const auto at = std::lower_bound(sorted.begin(), sorted.end(), File);
            differ = differ || (at != sorted.end() && at->Root == File.Root && at->Bytes != File.Bytes);
        });
        return differ;
    }
    forEachNeeded(keep);
    std::sort(sorted.begin(), sorted.end());
    // Each group of files of one root meets the first layer of that root
    // only; later ones find their group done.
    std::vector<bool> done(sorted.size());
    forEachStored([&](const Layer& Stored) {
        auto at = std::lower_bound(sorted.begin(), sorted.end(), Stored);
        if (differ || at == sorted.end() || at->Root != Stored.Root || done[at - sorted.begin()]) return;
        for (; at != sorted.end() && at->Root == Stored.Root; ++at) {
            done[at - sorted.begin()] = true;
            differ = differ || at->Bytes != Stored.Bytes;
        }
    });
    return differ;
}

// The keys above a tree file equal the elements of a v1 path.
bool SamePath(std::span<const std::string_view> Keys, const TBEncoded& Path) {
    std::size_t at = 0;
    for (const TBEncodedData& element : Path.ListData())
        if (at == Keys.size() || Keys[at++] != element.Data.StringData()) return false;
    return at == Keys.size();
}

// The padding must put every file with data at a piece boundary, and do
// nothing else: no pad where the data is aligned, none longer than needed.
bool PaddingAligns(const CheckInput& In) {
    const std::int64_t pieceLength = In.PieceLength();
    if (pieceLength <= 0) return true;
    const auto piece = static_cast<std::uint64_t>(pieceLength);
    std::uint64_t offset = 0;
    bool aligned = true;
    ForEachV1File(In, [&](const V1FileFacts& File) {
        const auto size = static_cast<std::uint64_t>(SizeOf(File.Length));
        const std::uint64_t into = offset % piece;
        if (File.Padding ? (into == 0 || size != piece - into) : (size > 0 && into != 0)) aligned = false;
        offset += size;
    });
    return aligned;
}

bool FileListsFail(const CheckInput& In) {
    if (!In.HasTree() || !In.Info().Pieces.IsPresent()) return false;
    FileTreeFiles tree(In.Info().FileTree);
    if (!In.HasFilesList()) {
        if (!In.Info().Length.IsPresent()) return tree.Next();
        // One file: its path in the tree is the name alone.
        if (!tree.Next()) return true;
        if (SizeOf(TreeFileFactsOf(tree.File()).Length) != SizeOf(In.Info().Length) || tree.Path().size() != 1 ||
            tree.Path()[0] != ShownName(In.Info()))
            return true;
        return tree.Next();
    }
    bool differ = false;
    ForEachV1File(In, [&](const V1FileFacts& File) {
        if (differ || File.Padding) return;
        differ = !tree.Next() || SizeOf(File.Length) != SizeOf(TreeFileFactsOf(tree.File()).Length) ||
                 !SamePath(tree.Path(), ChosenPath(File));
    });
    return differ || tree.Next() || !PaddingAligns(In);
}

// It reads every byte of the info dictionary: only asked of a v2 one.
bool CanonicalFormFails(const CheckInput& In) { return In.HasTree() && !In.Info().Info.IsCanonical(); }

struct StructureCheck {
    bool (*Fails)(const CheckInput&);
    std::u16string_view Message;
};

const StructureCheck kChecks[kStructureCheckCount] = {
    {NameFails, u"Missing or corrupt 'name' value."},
    {PieceLengthFails, u"Missing or corrupt 'piece length' value."},
    {PiecesFails, u"Missing or corrupt 'pieces' value."},
    {FileLengthFails, u"Missing or corrupt file length."},
    {PathFails, u"A file has no path."},
    {NoDataFails, u"The torrent holds no data."},
    {PieceCountFails, u"The 'pieces' do not match the files' size."},
    {MetaVersionFails, u"Missing or unknown 'meta version'."},
    {FileTreeFails, u"Missing or corrupt 'file tree' segment."},
    {RootHashFails, u"A v2 file has no root hash."},
    {V2PaddingFails, u"A v2 file is marked as padding."},
    {PieceLayersFails, u"The 'piece layers' do not match the files."},
    {FileListsFail, u"The v1 and v2 file lists differ."},
    {CanonicalFormFails, u"The info dictionary is not in canonical form."},
};

}  // namespace

std::uint32_t RunStructureChecks(const StructureFacts& Facts) {
    CheckInput input{Facts, Facts.V1Files, Facts.TreeFiles, 0};
    for (int row = 0; row < kStructureCheckCount; ++row)
        if (kChecks[row].Fails(input)) input.Failed |= 1u << row;
    return input.Failed;
}

std::u16string_view StructureCheckMessage(int Row) { return kChecks[Row].Message; }

void NoteV1File(const V1FileFacts& File, FilesSummary& Summary) {
    const std::int64_t size = File.FirstSize;
    // A link ("l") holds no data of its own: it needs no length.
    const bool hasSize = (File.Length.IsInteger() && size >= 0) || (!File.Length.IsPresent() && Holds(File.Attr, 'l'));
    Summary.AnySizeMissing = Summary.AnySizeMissing || !hasSize;
    // Padding holds no file anyone saves: it needs no path.
    Summary.AnyPathMissing = Summary.AnyPathMissing || (!File.Padding && !HasPath(File));
    Summary.AnyData = Summary.AnyData || size > 0;
    Summary.Total = SaturatingAdd(Summary.Total, static_cast<std::uint64_t>(size));
}

void NoteTreeFile(const TreeFileFacts& File, FilesSummary& Summary) {
    const std::int64_t size = SizeOf(File.Length);
    Summary.AnySizeMissing = Summary.AnySizeMissing || !HasSize(File.Length, File.Attr);
    Summary.AnyData = Summary.AnyData || size > 0;
    Summary.AnyRootMissing = Summary.AnyRootMissing || (size > 0 && !IsRootHash(File.PiecesRoot));
    Summary.AnyPadding = Summary.AnyPadding || Holds(File.Attr, 'p');
}

}  // namespace seedlens
