#pragma once
// The torrent document: what one metainfo file says, decoded.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bencode/bencoded.h"
#include "torrent/flag_set.h"
#include "torrent/structure_facts.h"
#include "torrent/text_list.h"
#include "torrent/torrent_sub_file.h"

namespace seedlens {

class MemoryStream;
class TrackerSet;
namespace platform {
class ReadOnlyFile;
}

// What a load builds besides the fields every load fills.
enum class TParseOptionsKind : std::uint8_t {
    poParseFiles = 1,    // one sub-file per entry of "files"
    poParseHashes = 2,   // the piece hashes
    poFindEncoding = 4,  // honour "encoding" for texts that are not UTF-8
    // Only what the plug-in's fields show: no custom fields, and tracker and
    // web-seed lists no longer than a magnet link can hold (see Listable).
    poFieldsOnly = 8,
};
using TParseOptions = FlagSet<TParseOptionsKind>;

// Structural problems met while loading; each becomes a message in Errors.
enum class TErrorFlagKind : std::uint8_t {
    efCorruptAnnounceList = 1,
    efCorruptInfoBlock = 2,
    efCorruptFilesBlock = 4,
};
using TErrorFlags = FlagSet<TErrorFlagKind>;

// Days since 1899-12-30 00:00, the fraction being the time of day; 0 is no date.
using TDateTime = double;

class TTorrentFile {
public:
    TTorrentFile();

    // Back to the cleared state that every load starts from. Unlike a new
    // document, a cleared one has Multifile and PrivateTorrent -1 ("not set").
    void Clear();
    // Bytes of memory the document holds for its texts and lists, filled or
    // not: a cleared document keeps its buffers for the next load.
    std::size_t HeldBytes() const;

    // Loads the file named Path (UTF-16, or the host's 8-bit text). Throws
    // LoadError when the file cannot be opened or read, is no regular file,
    // is larger than MaxFileBytes, or cannot be parsed.
    void LoadFile(std::u16string_view Path);
    void LoadFile(std::string_view NarrowPath);
    // Reads the whole open file from its first byte and loads it.
    void LoadFileHandle(platform::ReadOnlyFile& File);
    // Clears the document and loads it from the bencoded bytes at the
    // stream's position. The stream must stay unchanged during the call.
    void LoadStream(MemoryStream& Stream);

    // No torrent is this large; nothing larger is read into the host.
    static constexpr std::int64_t MaxFileBytes = 256LL * 1024 * 1024;
    // Files up to this size are read into a buffer on the stack.
    static constexpr std::size_t kStackReadBytes = 8 * 1024;

    // Piece hash Index (20 bytes); empty outside 0 to BlockList size - 1.
    std::string_view Block(std::int32_t Index) const;
    std::int32_t BlockListCount() const { return static_cast<std::int32_t>(FBlocks.size()); }
    // Sub-file Index; an empty sub-file outside 0 to Files.size() - 1.
    const TTorrentSubFile& SubFile(std::int32_t Index) const;

    std::int32_t FileCount() const { return FFileCount; }
    void SetFileCount(std::int32_t Count) { FFileCount = Count; }
    const std::string& TorrentName() const { return FName; }
    void SetTorrentName(std::string_view Name) { FName.assign(Name); }
    // The name from its raw bytes, as DecodeString gives it.
    void DecodeTorrentName(std::string_view Raw) { DecodeStringInto(Raw, FName); }
    TErrorFlags ErrorFlags() const { return FErrorFlags; }

    // Every error message followed by ";", in the host's 8-bit text.
    std::string ErrorString() const;
    // The same in UTF-8.
    std::string ErrorSummary() const;
    // Host part of the first tracker, in the host's 8-bit text.
    std::string TrackerShort() const;
    // The same in UTF-8: a part of FirstTracker.
    std::string_view TrackerHost() const;

    // Raw torrent bytes as UTF-8: valid UTF-8 as it is, otherwise by the
    // declared encoding (with poFindEncoding) or the legacy code page.
    std::string DecodeString(std::string_view Raw) const;
    // The same into Out, whose buffer is reused when it is large enough.
    void DecodeStringInto(std::string_view Raw, std::string& Out) const;

    // The walks of the info dictionary and of its "files" list. They throw
    // when a value that must be a list or dictionary is neither.
    void ParseInfoBlock(const TBEncoded& Info);
    void ParseFilesBlock(const TBEncoded& FilesNode);
    // The walk of a v2 "file tree" dictionary, the file list of a torrent
    // that has no "pieces": it sets the file count, total size, piece count
    // and Multifile from the tree alone. PieceLength is the whole integer.
    void ParseFileTree(const TBEncoded& Tree, std::int64_t PieceLength);

    // Structural checks that failed on the last load, by their row
    // (structure_checks.h); bit N for row N + 1.
    std::uint32_t FailedChecks() const { return FFailedChecks; }

    TParseOptions ParseOptions;
    TextList Trackers;
    TextList Webseeds;  // "httpseeds" and "url-list", in the order met
    TextList UrlSeeds;  // "url-list" alone: the web seeds a magnet link names
    TextList Errors;
    TextList CustomFields;
    std::vector<TTorrentSubFile> Files;
    std::int64_t TotalSize = 0;
    std::int32_t BlockSize = 0;
    std::int32_t BlockCount = 0;
    std::string FirstTracker;  // UTF-8
    TDateTime Created = 0;
    std::string Creator;   // UTF-8
    // The info hash in lowercase hex, or empty: SHA-1 (40 digits), or for a
    // v2-only torrent SHA-256 (64 digits), as clients and magnet links use.
    std::string Hash;
    // The SHA-256 of the info bytes, 64 lowercase hex digits, when the info
    // dictionary has a "file tree" (hybrid and v2-only torrents), else empty.
    std::string Sha256Hash;
    std::string Source;    // UTF-8: the info "source" that private trackers set
    std::string Comment;   // UTF-8
    std::string Encoding;  // the raw bytes of "encoding"
    std::string Webseed;   // a single web seed; no load fills it
    std::int32_t Multifile = 0;       // 1 for a multi-file torrent
    std::int32_t PrivateTorrent = 0;  // the value of "private"
    // The info dictionary has a "file tree" and no "pieces": a torrent of
    // the second format alone, without the first format's file list.
    bool V2Only = false;
    // The info dictionary has a "file tree" dictionary (hybrid or v2-only).
    bool HasFileTree = false;

    // "v1", "hybrid" or "v2"; empty when there is no info dictionary.
    std::string_view Format() const;

    // Cuts "pieces" into 20-byte hashes; bytes past the last whole hash are dropped.
    void SetBlocks(std::string_view Pieces);

    // With poFieldsOnly, a tracker or web-seed list stops taking addresses
    // once they fill this many units: the longest text a field shows is a
    // magnet link of 64 KiB, and each address takes at least a byte a unit
    // and its parameter's "&tr=" there.
    static constexpr std::size_t kListedAddressUnits = 64 * 1024;
    bool Listable(const TextList& List) const;

private:
    friend class TopLevelWalk;
    friend class InfoWalk;
    void ParseAnnounceList(const TBEncoded& Value, TrackerSet& Known);
    void ParseWebseeds(const TBEncoded& Value, TextList* AlsoTo);
    // One entry of "files" as a sub-file of Size bytes.
    TTorrentSubFile DecodeSubFile(const TBEncoded& Entry, std::int64_t Size) const;
    void AddErrorMessages();
    // Raw bytes that are not UTF-8, by the declared or the legacy code page.
    std::string DecodeLegacy(std::string_view Raw) const;

    std::vector<std::string> FBlocks;
    TErrorFlags FErrorFlags{TErrorFlagKind::efCorruptInfoBlock};
    std::int32_t FFileCount = 0;
    std::string FName;  // UTF-8
    // What the walks saw of the structure, for the checks after them.
    StructureFacts FFacts;
    std::uint32_t FFailedChecks = 0;
};

}  // namespace seedlens
