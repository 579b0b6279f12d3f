// The walk of the "info" dictionary and of its "files" list.

#include <iterator>
#include <optional>
#include <string>

#include "bencode/bencoded.h"
#include "platform/code_pages.h"
#include "torrent/file_tree_files.h"
#include "torrent/hostile_integers.h"
#include "torrent/key_table.h"
#include "torrent/padding_file.h"
#include "torrent/torrent_file.h"
#include "torrent/walk_error.h"

namespace seedlens {

void RequireEntries(const TBEncoded& Node, const char* What) {
    if (!Node.HasEntries()) throw WalkError(What);
}

namespace {
constexpr std::size_t kPieceHashBytes = 20;
}  // namespace

// One pass over the info dictionary, with the values that only count once
// the whole dictionary has been seen.
class InfoWalk {
public:
    explicit InfoWalk(TTorrentFile& Document) : FDoc(Document) {}

    void Run(const TBEncoded& Info) {
        RequireEntries(Info, "the info value is neither a list nor a dictionary");
        FDoc.FFacts.ClearInfo();
        FFacts.IsDictionary = Info.IsDictionary();
        FFacts.Info = Info;
        for (const TBEncodedData& entry : Info.ListData()) Dispatch(entry);
        // "name.utf-8" wins over "name", whichever came first.
        if (!FUtf8Name.empty()) FDoc.SetTorrentName(FUtf8Name);
        // Without "pieces" the v2 file tree is the only file list there is;
        // a hybrid torrent keeps the v1 view.
        FDoc.HasFileTree = FFileTree.IsPresent();
        FDoc.V2Only = FFileTree.IsPresent() && !FHasPieces;
        if (FDoc.V2Only) {
            FDoc.ParseFileTree(FFileTree, FPieceLength);
            return;
        }
        // A hybrid's tree is only looked at for the checks, which compare it
        // with its file list.
        if (FFileTree.IsPresent())
            for (FileTreeFiles files(FFileTree); files.Next();)
                NoteTreeFile(TreeFileFactsOf(files.File()), FDoc.FFacts.TreeFiles);
        if (FDoc.Multifile == 1) return;
        // A single-file torrent: its one file is the torrent itself. A
        // "length" in a multi-file dictionary is read and ignored.
        TTorrentSubFile only;
        only.Add(FDoc.TorrentName());
        only.SetSize(FSingleLength);
        FDoc.Files.push_back(std::move(only));
        FDoc.TotalSize = FSingleLength;
        FDoc.SetFileCount(1);
    }

private:
    // Every key the info walk knows, in the order it tries them.
    static const KeyAction<InfoWalk> kKeys[10];

    void Dispatch(const TBEncodedData& Entry) {
        if (DispatchKey(*this, kKeys, Entry)) return;
        AddCustomField(Entry);
    }

    // Clients read the first of a repeated key; the fields show the last.
    static void Keep(TBEncoded& Slot, const TBEncoded& V) {
        if (!Slot.IsPresent()) Slot = V;
    }

    void AddCustomField(const TBEncodedData& Entry) {
        if (FDoc.ParseOptions.Has(TParseOptionsKind::poFieldsOnly)) return;
        if (auto field = CustomField(Entry.Header, Entry.Data)) FDoc.CustomFields.Add(*field);
    }

    void Name(const TBEncoded& V) {
        Keep(FFacts.Name, V);
        FDoc.DecodeTorrentName(V.StringData());
    }
    void Utf8Name(const TBEncoded& V) {
        Keep(FFacts.Utf8Name, V);
        FUtf8Name = V.StringData();
    }
    // Only the checks look at it; it stays a custom field as well.
    void MetaVersion(const TBEncoded& V) {
        Keep(FFacts.MetaVersion, V);
        AddCustomField({"meta version", V});
    }
    // Decoded as the name is; a value of another kind is no source.
    void Source(const TBEncoded& V) { FDoc.DecodeStringInto(V.StringData(), FDoc.Source); }
    void PieceLength(const TBEncoded& V) {
        Keep(FFacts.PieceLength, V);
        FPieceLength = V.IntegerData();
        FDoc.BlockSize = Low32(FPieceLength);
    }
    void FileTree(const TBEncoded& V) {
        FFileTree = V.IsDictionary() ? V : TBEncoded();
        FFacts.FileTree = FFileTree;
    }
    void Length(const TBEncoded& V) {
        Keep(FFacts.Length, V);
        FSingleLength = V.IntegerData();
    }
    // Clients take any integer but 0 as private, the whole 64-bit value.
    void Private(const TBEncoded& V) { FDoc.PrivateTorrent = V.IntegerData() != 0 ? 1 : 0; }

    void Pieces(const TBEncoded& V) {
        Keep(FFacts.Pieces, V);
        FHasPieces = true;
        const std::string_view pieces = V.StringData();
        FDoc.BlockCount = static_cast<std::int32_t>(pieces.size() / kPieceHashBytes);
        if (FDoc.ParseOptions.Has(TParseOptionsKind::poParseHashes)) FDoc.SetBlocks(pieces);
    }

    void FilesList(const TBEncoded& V) {
        // The last, whose entries the files walk lists for the checks.
        FFacts.Files = V;
        FDoc.Multifile = 1;
        FDoc.ParseFilesBlock(V);
    }

    // Unknown keys with a string or integer value are kept as "key=value",
    // read in the legacy code page; empty strings, lists and dictionaries
    // add nothing.
    static std::optional<std::u16string> CustomField(std::string_view Key, const TBEncoded& Value) {
        if (Value.IsInteger())
            return platform::LegacyToUtf16(Key) + u"=" +
                   platform::LegacyToUtf16(std::to_string(Value.IntegerData()));
        if (Value.IsString() && !Value.StringData().empty())
            return platform::LegacyToUtf16(std::string(Key) + "=" + std::string(Value.StringData()));
        return std::nullopt;
    }

    TTorrentFile& FDoc;
    InfoValues& FFacts = FDoc.FFacts.Info;
    std::string_view FUtf8Name;
    std::int64_t FSingleLength = 0;
    std::int64_t FPieceLength = 0;
    TBEncoded FFileTree;  // the last "file tree", when a dictionary
    bool FHasPieces = false;
};

const KeyAction<InfoWalk> InfoWalk::kKeys[10] = {
    {"name", &InfoWalk::Name},
    {"name.utf-8", &InfoWalk::Utf8Name},
    {"pieces", &InfoWalk::Pieces},
    {"piece length", &InfoWalk::PieceLength},
    {"length", &InfoWalk::Length},
    {"private", &InfoWalk::Private},
    {"files", &InfoWalk::FilesList},
    {"file tree", &InfoWalk::FileTree},
    {"source", &InfoWalk::Source},
    {"meta version", &InfoWalk::MetaVersion},
};

void TTorrentFile::SetBlocks(std::string_view Pieces) {
    const std::size_t count = Pieces.size() / kPieceHashBytes;
    FBlocks.resize(count);
    for (std::size_t i = 0; i < count; ++i) FBlocks[i] = Pieces.substr(i * kPieceHashBytes, kPieceHashBytes);
}

void TTorrentFile::ParseInfoBlock(const TBEncoded& Info) { InfoWalk(*this).Run(Info); }

void TTorrentFile::ParseFilesBlock(const TBEncoded& FilesNode) {
    RequireEntries(FilesNode, "the files value is neither a list nor a dictionary");
    const bool buildFiles = ParseOptions.Has(TParseOptionsKind::poParseFiles);
    const TBEncodedDataList entries = FilesNode.ListData();
    // Every entry counts as a file, but padding.
    FFileCount = 0;
    FilesSummary& summary = FFacts.V1Files;
    summary = {};
    for (auto item = entries.begin(); item != entries.end(); ++item) {
        const TBEncoded entry = (*item).Data;
        ++FFileCount;
        if (!entry.HasEntries()) {
            // What earlier entries added stays; later ones are only looked
            // at to leave padding out of the count. The checks stop here too.
            FErrorFlags.Include(TErrorFlagKind::efCorruptFilesBlock);
            NoteV1File({}, summary);
            for (auto later = std::next(item); later != entries.end(); ++later)
                if (!(*later).Data.HasEntries() || !IsPaddingFile((*later).Data)) ++FFileCount;
            return;
        }
        // Padding entries are no files: they count neither as files nor
        // towards the total, but stay in the sub-file list, marked.
        const V1FileFacts facts = FilesEntryFacts(entry);
        NoteV1File(facts, summary);
        if (facts.Padding)
            --FFileCount;
        else
            TotalSize = WrappingAdd(TotalSize, facts.Lengths);
        if (buildFiles) {
            Files.push_back(DecodeSubFile(entry, facts.LastSize));
            Files.back().SetPadding(facts.Padding);
        }
    }
}

TTorrentSubFile TTorrentFile::DecodeSubFile(const TBEncoded& Entry, std::int64_t Size) const {
    TTorrentSubFile decoded;
    TTorrentSubFile raw;
    for (const TBEncodedData& member : Entry.ListData()) {
        if (SameKey(member.Header, "path")) {
            RequireEntries(member.Data, "a path is neither a list nor a dictionary");
            for (const TBEncodedData& element : member.Data.ListData())
                decoded.Add(DecodeString(element.Data.StringData()));
        } else if (SameKey(member.Header, "path.utf-8")) {
            RequireEntries(member.Data, "a path.utf-8 is neither a list nor a dictionary");
            for (const TBEncodedData& element : member.Data.ListData()) raw.Add(std::string(element.Data.StringData()));
        }
    }
    // "path.utf-8" wins when it gives at least one element.
    TTorrentSubFile& chosen = raw.Count() > 0 ? raw : decoded;
    chosen.SetSize(Size);
    return std::move(chosen);
}

V1FileFacts FilesEntryFacts(const TBEncoded& Entry) {
    V1FileFacts facts;
    for (const TBEncodedData& member : Entry.ListData()) {
        if (SameKey(member.Header, "length")) {
            facts.LastSize = member.Data.IntegerData();
            if (!facts.Length.IsPresent()) {
                facts.Length = member.Data;
                facts.FirstSize = facts.LastSize;
            }
            facts.Lengths = WrappingAdd(facts.Lengths, facts.LastSize);
            continue;
        }
        TBEncoded* slot = SameKey(member.Header, "path")         ? &facts.Path
                          : SameKey(member.Header, "path.utf-8") ? &facts.Utf8Path
                          : SameKey(member.Header, "attr")       ? &facts.Attr
                                                          : nullptr;
        if (slot == nullptr) continue;
        if (!slot->IsPresent()) *slot = member.Data;
        if (!facts.Padding) facts.Padding = IsPaddingMark(member);
    }
    return facts;
}

}  // namespace seedlens
