#include "torrent/structure_checks.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace seedlens {

namespace {

constexpr std::uint64_t kPieceHashBytes = 20;
constexpr std::uint64_t kRootHashBytes = 32;
// A v2 piece covers whole 16 KiB blocks of its Merkle tree.
constexpr std::int64_t kMinV2PieceLength = 16384;

// What every row reads: the facts, and the rows that failed before it.
struct CheckInput {
    const StructureFacts& Facts;
    std::uint32_t Failed;

    const InfoValues& Info() const { return Facts.Info; }
    bool HasTree() const { return Facts.Info.FileTree != nullptr; }
    // The first format's view: there is no tree, or "pieces" is there too.
    bool HasV1View() const { return !HasTree() || Facts.Info.Pieces != nullptr; }
    bool HasFilesList() const { return Facts.Info.Files != nullptr && Facts.Info.Files->IsList(); }
    bool Passed(int FirstRow, int LastRow) const {
        for (int row = FirstRow; row <= LastRow; ++row)
            if ((Failed & (1u << (row - 1))) != 0) return false;
        return true;
    }
    std::int64_t PieceLength() const { return Info().PieceLength ? Info().PieceLength->IntegerData() : 0; }
};

bool IsString(const TBEncoded* Node) { return Node != nullptr && Node->IsString(); }
bool IsInteger(const TBEncoded* Node) { return Node != nullptr && Node->IsInteger(); }
bool IsSize(const TBEncoded* Node) { return IsInteger(Node) && Node->IntegerData() >= 0; }
std::int64_t SizeOf(const TBEncoded* Node) { return IsInteger(Node) ? Node->IntegerData() : 0; }
bool Holds(const TBEncoded* Attr, char Letter) {
    return IsString(Attr) && Attr->StringData().find(Letter) != std::string_view::npos;
}
// A link ("l") holds no data of its own: it needs no length.
bool HasSize(const TBEncoded* Length, const TBEncoded* Attr) {
    return IsSize(Length) || (Length == nullptr && Holds(Attr, 'l'));
}

std::uint64_t SaturatingAdd(std::uint64_t A, std::uint64_t B) {
    return A > std::numeric_limits<std::uint64_t>::max() - B ? std::numeric_limits<std::uint64_t>::max() : A + B;
}
std::uint64_t PiecesFor(std::uint64_t Size, std::int64_t PieceLength) {
    return Size == 0 ? 0 : (Size - 1) / static_cast<std::uint64_t>(PieceLength) + 1;
}

// The name a client shows: "name.utf-8" when it is a string, else "name".
std::string_view ShownName(const InfoValues& Info) {
    if (IsString(Info.Utf8Name)) return Info.Utf8Name->StringData();
    return Info.Name != nullptr ? Info.Name->StringData() : std::string_view{};
}

// A file's path elements: "path.utf-8" when it is a list, else "path";
// nullptr when neither is.
const TBEncoded* ChosenPath(const V1FileFacts& File) {
    if (File.Utf8Path != nullptr && File.Utf8Path->IsList()) return File.Utf8Path;
    if (File.Path != nullptr && File.Path->IsList()) return File.Path;
    return nullptr;
}

bool HasPath(const V1FileFacts& File) {
    const TBEncoded* path = ChosenPath(File);
    if (path == nullptr || path->ListData().Empty()) return false;
    for (const TBEncodedData& element : path->ListData())
        if (!element.Data.IsString()) return false;
    return true;
}

// The sizes of the first format's files, padding included: the "files"
// list, or the one "length".
template <typename Visit>
void ForEachV1Size(const CheckInput& In, Visit&& Visitor) {
    if (In.HasFilesList()) {
        for (const V1FileFacts& file : In.Facts.V1Files) Visitor(SizeOf(file.Length));
    } else if (In.Info().Length != nullptr) {
        Visitor(SizeOf(In.Info().Length));
    }
}

// --- the rows ---

// Clients drop zero bytes and separators from a single file's name; what
// is left must name a file.
bool NameFails(const CheckInput& In) {
    if (!IsString(In.Info().Name) && !IsString(In.Info().Utf8Name)) return true;
    if (In.HasFilesList() || In.HasTree()) return false;
    std::string kept;
    for (const char c : ShownName(In.Info()))
        if (c != '\0' && c != '/' && c != '\\') kept += c;
    return kept.empty() || kept == "." || kept == "..";
}

bool PieceLengthFails(const CheckInput& In) {
    if (!IsInteger(In.Info().PieceLength) || In.PieceLength() <= 0) return true;
    const std::int64_t length = In.PieceLength();
    return In.HasTree() && (length < kMinV2PieceLength || (length & (length - 1)) != 0);
}

bool PiecesFails(const CheckInput& In) {
    if (!In.HasV1View()) return false;
    const TBEncoded* pieces = In.Info().Pieces;
    return !IsString(pieces) || pieces->StringData().size() % kPieceHashBytes != 0;
}

bool FileLengthFails(const CheckInput& In) {
    if (In.HasV1View()) {
        if (In.HasFilesList()) {
            for (const V1FileFacts& file : In.Facts.V1Files)
                if (!HasSize(file.Length, file.Attr)) return true;
        } else if (!In.HasTree() || In.Info().Length != nullptr) {
            if (!IsSize(In.Info().Length)) return true;
        }
    }
    for (const TreeFileFacts& file : In.Facts.TreeFiles)
        if (!HasSize(file.Length, file.Attr)) return true;
    return false;
}

bool PathFails(const CheckInput& In) {
    if (!In.HasV1View() || !In.HasFilesList()) return false;
    // Padding holds no file anyone saves: it needs no path.
    for (const V1FileFacts& file : In.Facts.V1Files)
        if (!file.Padding && !HasPath(file)) return true;
    return false;
}

bool NoDataFails(const CheckInput& In) {
    if (!In.Passed(4, 5)) return false;
    bool data = false;
    if (In.HasV1View())
        ForEachV1Size(In, [&](std::int64_t Size) { data = data || Size > 0; });
    else
        for (const TreeFileFacts& file : In.Facts.TreeFiles) data = data || SizeOf(file.Length) > 0;
    return !data;
}

bool PieceCountFails(const CheckInput& In) {
    if (!In.HasV1View() || !In.Passed(2, 6)) return false;
    std::uint64_t total = 0;
    ForEachV1Size(In, [&](std::int64_t Size) { total = SaturatingAdd(total, static_cast<std::uint64_t>(Size)); });
    return In.Info().Pieces->StringData().size() / kPieceHashBytes != PiecesFor(total, In.PieceLength());
}

bool MetaVersionFails(const CheckInput& In) {
    const TBEncoded* version = In.Info().MetaVersion;
    if (In.HasTree() && !(IsInteger(version) && version->IntegerData() == 2)) return true;
    return IsInteger(version) && version->IntegerData() > 2;
}

bool FileTreeFails(const CheckInput& In) {
    const TBEncoded* version = In.Info().MetaVersion;
    return IsInteger(version) && version->IntegerData() == 2 && !In.HasTree();
}

bool IsRootHash(const TBEncoded* Node) {
    if (!IsString(Node) || Node->StringData().size() != kRootHashBytes) return false;
    return Node->StringData().find_first_not_of('\0') != std::string_view::npos;
}

bool RootHashFails(const CheckInput& In) {
    for (const TreeFileFacts& file : In.Facts.TreeFiles)
        if (SizeOf(file.Length) > 0 && !IsRootHash(file.PiecesRoot)) return true;
    return false;
}

bool V2PaddingFails(const CheckInput& In) {
    for (const TreeFileFacts& file : In.Facts.TreeFiles)
        if (Holds(file.Attr, 'p')) return true;
    return false;
}

// Layers a client has no file for, or no layers at all, it fetches from
// peers; layers it has a file for must fit that file.
bool PieceLayersFails(const CheckInput& In) {
    const TBEncoded* layers = In.Facts.PieceLayers;
    if (!In.HasTree() || layers == nullptr || !layers->IsDictionary()) return false;
    struct Layer {
        std::string_view Root;
        std::size_t Bytes;
    };
    std::vector<Layer> known;
    for (const TBEncodedData& entry : layers->ListData()) {
        if (entry.Header.size() != kRootHashBytes || !entry.Data.IsString()) return true;
        if (entry.Data.StringData().size() % kRootHashBytes != 0) return true;
        known.push_back({entry.Header, entry.Data.StringData().size()});
    }
    const std::int64_t pieceLength = In.PieceLength();
    if (pieceLength <= 0) return false;
    std::sort(known.begin(), known.end(), [](const Layer& A, const Layer& B) { return A.Root < B.Root; });
    for (const TreeFileFacts& file : In.Facts.TreeFiles) {
        const std::int64_t size = SizeOf(file.Length);
        if (size <= pieceLength || !IsString(file.PiecesRoot)) continue;
        const std::string_view root = file.PiecesRoot->StringData();
        const auto at = std::lower_bound(known.begin(), known.end(), root,
                                         [](const Layer& L, std::string_view R) { return L.Root < R; });
        if (at != known.end() && at->Root == root &&
            at->Bytes != kRootHashBytes * PiecesFor(static_cast<std::uint64_t>(size), pieceLength))
            return true;
    }
    return false;
}

// Path elements of a tree file equal Elements, read from the last up.
bool SamePath(const CheckInput& In, const TreeFileFacts& File, const TBEncodedDataList& Elements) {
    std::int32_t node = File.Node;
    for (std::int32_t i = Elements.Count() - 1; i >= 0; --i) {
        if (node < 0) return false;
        const TreeNodeFacts& key = In.Facts.TreeNodes[static_cast<std::size_t>(node)];
        if (key.Key != Elements[i].Data.StringData()) return false;
        node = key.Parent;
    }
    return node < 0;
}

// The padding must put every file with data at a piece boundary, and do
// nothing else: no pad where the data is aligned, none longer than needed.
bool PaddingAligns(const CheckInput& In) {
    const std::int64_t pieceLength = In.PieceLength();
    if (pieceLength <= 0) return true;
    const auto piece = static_cast<std::uint64_t>(pieceLength);
    std::uint64_t offset = 0;
    for (const V1FileFacts& file : In.Facts.V1Files) {
        const auto size = static_cast<std::uint64_t>(SizeOf(file.Length));
        const std::uint64_t into = offset % piece;
        if (file.Padding ? (into == 0 || size != piece - into) : (size > 0 && into != 0)) return false;
        offset += size;
    }
    return true;
}

bool FileListsFail(const CheckInput& In) {
    if (!In.HasTree() || In.Info().Pieces == nullptr) return false;
    const std::vector<TreeFileFacts>& tree = In.Facts.TreeFiles;
    if (!In.HasFilesList()) {
        if (In.Info().Length == nullptr) return !tree.empty();
        // One file: its path in the tree is the name alone.
        if (tree.size() != 1 || SizeOf(tree[0].Length) != SizeOf(In.Info().Length) || tree[0].Node < 0) return true;
        const TreeNodeFacts& key = In.Facts.TreeNodes[static_cast<std::size_t>(tree[0].Node)];
        return key.Parent >= 0 || key.Key != ShownName(In.Info());
    }
    std::size_t next = 0;
    for (const V1FileFacts& file : In.Facts.V1Files) {
        if (file.Padding) continue;
        if (next == tree.size() || SizeOf(file.Length) != SizeOf(tree[next].Length)) return true;
        const TBEncoded* path = ChosenPath(file);
        if (!SamePath(In, tree[next], path != nullptr ? path->ListData() : TBEncodedDataList{})) return true;
        ++next;
    }
    return next != tree.size() || !PaddingAligns(In);
}

bool CanonicalFormFails(const CheckInput& In) { return In.HasTree() && !In.Info().IsCanonical; }

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
    CheckInput input{Facts, 0};
    for (int row = 0; row < kStructureCheckCount; ++row)
        if (kChecks[row].Fails(input)) input.Failed |= 1u << row;
    return input.Failed;
}

std::u16string_view StructureCheckMessage(int Row) { return kChecks[Row].Message; }

}  // namespace seedlens
