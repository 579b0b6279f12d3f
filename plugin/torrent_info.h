#pragma once
// The values the fields show for one file, kept in the cache. Texts are
// UTF-8 and at most MaxTextBytes long: no host shows more, and a hostile
// comment of hundreds of megabytes must not live in the host's memory.
// All texts share one buffer, and a cached record has it in the same
// allocation as itself: a cached request touches a few neighbouring cache
// lines rather than one per text, and each file costs one allocation of
// just the size it needs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "torrent/torrent_file.h"

namespace seedlens {

class TTorrentInfo {
public:
    static constexpr std::size_t MaxTextBytes = 64 * 1024;

    // The texts of a record, as given; each is cut to MaxTextBytes on a
    // character boundary when the record is made.
    struct Texts {
        std::string_view Name = {};
        std::string_view FirstTracker = {};
        std::string_view TrackerShort = {};
        std::string_view Creator = {};
        std::string_view Hash = {};
        std::string_view Comment = {};
        std::string_view Encoding = {};  // the raw bytes of "encoding"
        std::string_view ErrorString = {};
        std::string_view Sha256 = {};
        std::string_view Magnet = {};  // whole parameters only: see MagnetLink
        std::string_view Source = {};
        std::string_view Format = {};
    };

    TTorrentInfo() = default;
    // A record with a text buffer of its own.
    explicit TTorrentInfo(const Texts& Values);

    // The values of a loaded document, as the cache keeps them: in one
    // allocation with the shared pointer's count.
    static std::shared_ptr<const TTorrentInfo> Shared(const TTorrentFile& Document);

private:
    enum TextIndex {
        kName, kFirstTracker, kTrackerShort, kCreator, kHash, kComment, kEncoding, kErrorString,
        kSha256, kMagnet, kSource, kFormat, kTextCount
    };
    using TextArray = std::array<std::string_view, kTextCount>;

public:
    // Only for Shared, which cannot call a private constructor through the
    // standard library; nothing else can make a Key.
    class Key {
        friend class TTorrentInfo;
        Key() = default;
    };
    // Storage points to where the allocation's texts go, once it is made.
    TTorrentInfo(const TextArray& Values, const TTorrentFile& Document, char* const* Storage, Key);

    std::string_view Name() const { return Text(kName); }
    std::string_view FirstTracker() const { return Text(kFirstTracker); }
    std::string_view TrackerShort() const { return Text(kTrackerShort); }
    std::string_view Creator() const { return Text(kCreator); }
    std::string_view Hash() const { return Text(kHash); }
    std::string_view Comment() const { return Text(kComment); }
    std::string_view Encoding() const { return Text(kEncoding); }
    std::string_view ErrorString() const { return Text(kErrorString); }
    std::string_view Sha256() const { return Text(kSha256); }
    std::string_view Magnet() const { return Text(kMagnet); }
    std::string_view Source() const { return Text(kSource); }
    std::string_view Format() const { return Text(kFormat); }

    // The bytes the record takes with its texts.
    std::size_t HeldBytes() const { return sizeof(TTorrentInfo) + FEnds.back(); }

    std::int64_t TotalSize = 0;
    std::int32_t FileCount = 0;
    std::int32_t BlockSize = 0;
    std::int32_t BlockCount = 0;
    TDateTime Created = 0;
    std::int32_t Multifile = 0;
    std::int32_t PrivateTorrent = 0;

private:
    static TextArray BoundedTexts(const Texts& Values);
    static TextArray DocumentTexts(const TTorrentFile& Document, const std::string& Errors, const std::string& Magnet);
    static std::size_t TotalBytes(const TextArray& Values);
    void CopyTexts(const TextArray& Values, char* To);
    void CopyNumbers(const TTorrentFile& Document);

    std::string_view Text(TextIndex Index) const { return {FTexts + FEnds[Index] - Length(Index), Length(Index)}; }
    std::uint32_t Length(TextIndex Index) const { return FEnds[Index] - (Index == 0 ? 0 : FEnds[Index - 1]); }

    std::array<std::uint32_t, kTextCount> FEnds{};  // where each text ends, one after another
    const char* FTexts = "";                        // every text, one after another
    std::unique_ptr<char[]> FOwnTexts;              // the buffer, unless it follows the record
};

}  // namespace seedlens
