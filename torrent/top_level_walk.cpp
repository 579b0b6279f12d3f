// Loading a document from bencoded bytes: the reader, then the walk of the
// top-level dictionary.

#include <string>

#include "bencode/bencode_tree.h"
#include "platform/code_pages.h"
#include "platform/utf_codec.h"
#include "torrent/address_text.h"
#include "torrent/creation_date.h"
#include "torrent/hashes.h"
#include "torrent/key_table.h"
#include "torrent/load_error.h"
#include "torrent/structure_checks.h"
#include "torrent/torrent_file.h"
#include "torrent/tracker_set.h"
#include "torrent/walk_error.h"

namespace seedlens {

namespace {
const std::u16string kInfoMessage = u"Missing or corrupt 'info' segment.";
const std::u16string kAnnounceListMessage = u"Missing or corrupt 'announce-list' segment.";
const std::u16string kFilesMessage = u"Missing or corrupt 'files' segment.";
}  // namespace

// One pass over the root's entries, with the values that are only used once
// every entry has been seen.
class TopLevelWalk {
public:
    TopLevelWalk(TTorrentFile& Document, const MemoryStream& Stream)
        : FDoc(Document), FStream(Stream), FKnownTrackers(Document.Trackers) {}

    void Run(const TBEncoded& Root) {
        RequireEntries(Root, "the root is neither a dictionary nor a list");
        WatchAnnounce(Root);
        for (const TBEncodedData& entry : Root.ListData()) Dispatch(entry);
        // The comment is decoded once the final "encoding" is known.
        FDoc.DecodeStringInto(FComment, FDoc.Comment);
        AddAnnounce();
        // Once every walk is done: the checks compare what they saw.
        if (FDoc.FFacts.Info.IsDictionary) FDoc.FFailedChecks = RunStructureChecks(FDoc.FFacts);
    }

private:
    static const KeyAction<TopLevelWalk> kKeys[10];

    // Keys the walk does not know are ignored: they never become custom fields.
    void Dispatch(const TBEncodedData& Entry) { DispatchKey(*this, kKeys, Entry); }

    void Announce(const TBEncoded& V) {
        FAnnounce = V.StringData();
        FAnnounceIsBlank = IsNoAddress(V);
    }
    void AnnounceList(const TBEncoded& V) { FDoc.ParseAnnounceList(V, FKnownTrackers); }
    void CommentValue(const TBEncoded& V) { FComment = V.StringData(); }
    // Decoded at once, with the "encoding" met so far.
    void CreatedBy(const TBEncoded& V) { FDoc.DecodeStringInto(V.StringData(), FDoc.Creator); }
    void CreationDate(const TBEncoded& V) {
        FDoc.Created = V.IsInteger() ? CreationDateToDateTime(V.IntegerData()) : 0;
    }
    void EncodingValue(const TBEncoded& V) { FDoc.Encoding = std::string(V.StringData()); }
    void HttpSeeds(const TBEncoded& V) { FDoc.ParseWebseeds(V, nullptr); }
    void UrlList(const TBEncoded& V) { FDoc.ParseWebseeds(V, &FDoc.UrlSeeds); }
    // Only the structural checks read it.
    void PieceLayers(const TBEncoded& V) {
        if (!FDoc.FFacts.PieceLayers.IsPresent()) FDoc.FFacts.PieceLayers = V;
    }

    void Info(const TBEncoded& V) {
        // A later "info" replaces what an earlier one gave.
        FDoc.Sha256Hash.clear();
        FDoc.Source.clear();
        FDoc.ParseInfoBlock(V);
        if (V.IsDictionary()) {
            FDoc.FErrorFlags.Exclude(TErrorFlagKind::efCorruptInfoBlock);
            // The exact stored bytes, not a re-encoding of the tree. A
            // v2-only torrent is known by its SHA-256, known once its info
            // dictionary has been walked.
            const auto bytes = FStream.Slice(V.StreamStartPos(), V.StreamEndPos());
            const std::string_view info(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            if (FDoc.HasFileTree) GetStringHashInto(info, platform::DigestAlgorithm::Sha256, FDoc.Sha256Hash);
            if (FDoc.V2Only)
                FDoc.Hash = FDoc.Sha256Hash;
            else
                GetStringHashInto(info, platform::DigestAlgorithm::Sha1, FDoc.Hash);
        } else {
            // No dictionary, no info hash: a digest of nothing would look real.
            FDoc.FErrorFlags.Include(TErrorFlagKind::efCorruptInfoBlock);
            FDoc.Hash.clear();
        }
    }

    // A tracker list cut short must still tell whether it holds the
    // announce address, the last "announce" of the root.
    void WatchAnnounce(const TBEncoded& Root) {
        if (!FDoc.ParseOptions.Has(TParseOptionsKind::poFieldsOnly)) return;
        TBEncoded announce;
        for (const TBEncodedData& entry : Root.ListData())
            if (entry.Header == "announce") announce = entry.Data;
        if (!IsNoAddress(announce)) FKnownTrackers.Watch(AddressText(announce.StringData()).View());
    }

    // The announce URL goes first unless "announce-list" already has it.
    void AddAnnounce() {
        // A blank announce names no tracker, as a blank list item does not.
        if (FAnnounceIsBlank) return;
        const AddressText announce(FAnnounce);
        if (FDoc.Trackers.Empty())
            FDoc.Trackers.Add(announce.View());
        else if (!FKnownTrackers.Contains(announce.View()))
            FDoc.Trackers.Insert(0, announce.View());
    }

    TTorrentFile& FDoc;
    const MemoryStream& FStream;
    std::string_view FAnnounce;
    bool FAnnounceIsBlank = true;
    std::string_view FComment;
    TrackerSet FKnownTrackers;
};

// Every key the top-level walk knows, in the order it tries them.
const KeyAction<TopLevelWalk> TopLevelWalk::kKeys[10] = {
    {"announce", &TopLevelWalk::Announce},
    {"announce-list", &TopLevelWalk::AnnounceList},
    {"comment", &TopLevelWalk::CommentValue},
    {"created by", &TopLevelWalk::CreatedBy},
    {"creation date", &TopLevelWalk::CreationDate},
    {"encoding", &TopLevelWalk::EncodingValue},
    {"httpseeds", &TopLevelWalk::HttpSeeds},
    {"url-list", &TopLevelWalk::UrlList},
    {"info", &TopLevelWalk::Info},
    {"piece layers", &TopLevelWalk::PieceLayers},
};

void TTorrentFile::ParseAnnounceList(const TBEncoded& Value, TrackerSet& Known) {
    // Some creators write a lone string or other kind here; the torrent
    // still loads, with the list marked corrupt.
    if (!Value.HasEntries()) {
        FErrorFlags.Include(TErrorFlagKind::efCorruptAnnounceList);
        return;
    }
    for (const TBEncodedData& tier : Value.ListData()) {
        if (!tier.Data.HasEntries()) {
            // What earlier tiers added stays; later tiers are not looked at.
            FErrorFlags.Include(TErrorFlagKind::efCorruptAnnounceList);
            return;
        }
        for (const TBEncodedData& item : tier.Data.ListData()) {
            if (IsNoAddress(item.Data)) continue;
            const AddressText address(item.Data.StringData());
            if (!Listable(Trackers))
                Known.NoteUnlisted(address.View());
            else if (Known.Insert(address.View()))
                Trackers.Add(address.View());
        }
    }
}

void TTorrentFile::ParseWebseeds(const TBEncoded& Value, TextList* AlsoTo) {
    const auto add = [&](const TBEncoded& Item) {
        const bool listed = Listable(Webseeds), alsoListed = AlsoTo != nullptr && Listable(*AlsoTo);
        if (IsNoAddress(Item) || (!listed && !alsoListed)) return;
        const AddressText address(Item.StringData());
        if (listed) Webseeds.Add(address.View());
        if (alsoListed) AlsoTo->Add(address.View());
    };
    // A single web seed is often written as a plain string.
    if (Value.IsString()) {
        add(Value);
        return;
    }
    for (const TBEncodedData& item : Value.ListData()) add(item.Data);
}

bool TTorrentFile::Listable(const TextList& List) const {
    constexpr std::size_t kParameterUnits = 4;
    return !ParseOptions.Has(TParseOptionsKind::poFieldsOnly) ||
           List.Units() + kParameterUnits * static_cast<std::size_t>(List.Count()) <= kListedAddressUnits;
}

void TTorrentFile::AddErrorMessages() {
    if (FErrorFlags.Has(TErrorFlagKind::efCorruptInfoBlock)) Errors.Add(kInfoMessage);
    if (FErrorFlags.Has(TErrorFlagKind::efCorruptAnnounceList)) Errors.Add(kAnnounceListMessage);
    if (FErrorFlags.Has(TErrorFlagKind::efCorruptFilesBlock)) Errors.Add(kFilesMessage);
    for (int row = 0; row < kStructureCheckCount; ++row)
        if ((FFailedChecks & (1u << row)) != 0) Errors.Add(StructureCheckMessage(row));
}

void TTorrentFile::LoadStream(MemoryStream& Stream) {
    Clear();
    std::optional<TBEncodedTree> tree;
    try {
        tree.emplace(Stream);
    } catch (const std::exception& e) {
        throw LoadError(std::string("Parser error code: ") + e.what());
    }
    try {
        TopLevelWalk(*this, Stream).Run(tree->Root());
    } catch (...) {
        throw LoadError("Parser error code: 14");
    }
    if (!Trackers.Empty()) {
        // An ASCII address, the usual one, is narrowed into the buffer the
        // document already has.
        const std::u16string_view first = Trackers[0];
        FirstTracker.resize(first.size());
        if (platform::NarrowAsciiPrefix(first, FirstTracker.data()) != first.size())
            FirstTracker = platform::Utf16ToUtf8(first);
    }
    AddErrorMessages();
}

}  // namespace seedlens
