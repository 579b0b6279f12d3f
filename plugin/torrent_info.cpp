#include "plugin/torrent_info.h"

#include "plugin/cache_memory.h"
#include "torrent/magnet_link.h"

namespace seedlens {

namespace {

// At most MaxTextBytes of Text, never ending inside a UTF-8 sequence.
std::string_view Bounded(std::string_view Text) {
    if (Text.size() <= TTorrentInfo::MaxTextBytes) return Text;
    std::size_t cut = TTorrentInfo::MaxTextBytes;
    for (int back = 0; back < 3 && cut > 0 && (static_cast<unsigned char>(Text[cut]) & 0xC0) == 0x80; ++back) --cut;
    return Text.substr(0, cut);
}

// Gives the record's allocation Extra bytes more, and says where they begin.
template <typename T>
class TrailingBytesAllocator {
public:
    using value_type = T;

    TrailingBytesAllocator(std::size_t Extra, char** Trailing) : FExtra(Extra), FTrailing(Trailing) {}
    template <typename U>
    TrailingBytesAllocator(const TrailingBytesAllocator<U>& Other) : FExtra(Other.FExtra), FTrailing(Other.FTrailing) {}

    T* allocate(std::size_t Count) {
        const std::size_t bytes = Count * sizeof(T);
        char* block = static_cast<char*>(cache_memory::Allocate(bytes + FExtra));
        *FTrailing = block + bytes;
        return reinterpret_cast<T*>(block);
    }
    void deallocate(T* Block, std::size_t Count) noexcept { cache_memory::Free(Block, Count * sizeof(T) + FExtra); }

    template <typename U>
    bool operator==(const TrailingBytesAllocator<U>& Other) const { return FExtra == Other.FExtra; }

private:
    template <typename U>
    friend class TrailingBytesAllocator;
    std::size_t FExtra;
    char** FTrailing;  // the caller's, valid while the record is being made
};

}  // namespace

TTorrentInfo::TextArray TTorrentInfo::BoundedTexts(const Texts& Values) {
    return {Bounded(Values.Name),    Bounded(Values.FirstTracker), Bounded(Values.TrackerShort),
            Bounded(Values.Creator), Bounded(Values.Hash),         Bounded(Values.Comment),
            Bounded(Values.Encoding), Bounded(Values.ErrorString), Bounded(Values.Sha256),
            // A link is made within the bound, and cut only between parameters.
            Values.Magnet.size() <= MaxTextBytes ? Values.Magnet : std::string_view(),
            Bounded(Values.Source),  Bounded(Values.Format)};
}

TTorrentInfo::TextArray TTorrentInfo::DocumentTexts(const TTorrentFile& Document, const std::string& Errors,
                                                    const std::string& Magnet) {
    return BoundedTexts({.Name = Document.TorrentName(),
                         .FirstTracker = Document.FirstTracker,
                         .TrackerShort = Document.TrackerHost(),
                         .Creator = Document.Creator,
                         .Hash = Document.Hash,
                         .Comment = Document.Comment,
                         .Encoding = Document.Encoding,
                         .ErrorString = Errors,
                         .Sha256 = Document.Sha256Hash,
                         .Magnet = Magnet,
                         .Source = Document.Source,
                         .Format = Document.Format()});
}

std::size_t TTorrentInfo::TotalBytes(const TextArray& Values) {
    std::size_t total = 0;
    for (const std::string_view text : Values) total += text.size();
    return total;
}

void TTorrentInfo::CopyTexts(const TextArray& Values, char* To) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < Values.size(); ++i) {
        Values[i].copy(To + end, Values[i].size());
        end += Values[i].size();
        FEnds[i] = static_cast<std::uint32_t>(end);
    }
    FTexts = To;
}

void TTorrentInfo::CopyNumbers(const TTorrentFile& Document) {
    TotalSize = Document.TotalSize;
    FileCount = Document.FileCount();
    BlockSize = Document.BlockSize;
    BlockCount = Document.BlockCount;
    Created = Document.Created;
    Multifile = Document.Multifile;
    PrivateTorrent = Document.PrivateTorrent;
}

TTorrentInfo::TTorrentInfo(const Texts& Values) {
    const TextArray texts = BoundedTexts(Values);
    FOwnTexts = std::make_unique_for_overwrite<char[]>(TotalBytes(texts));
    CopyTexts(texts, FOwnTexts.get());
}

TTorrentInfo::TTorrentInfo(const TextArray& Values, const TTorrentFile& Document, char* const* Storage, Key) {
    CopyTexts(Values, *Storage);
    CopyNumbers(Document);
}

std::shared_ptr<const TTorrentInfo> TTorrentInfo::Shared(const TTorrentFile& Document) {
    const std::string errors = Document.ErrorSummary();
    // The document keeps as many addresses as a link of this length can name.
    static_assert(TTorrentFile::kListedAddressUnits >= MaxTextBytes);
    const std::string magnet = MagnetLink(Document, MaxTextBytes);
    const TextArray texts = DocumentTexts(Document, errors, magnet);
    char* storage = nullptr;
    const TrailingBytesAllocator<TTorrentInfo> allocator(TotalBytes(texts), &storage);
    return std::allocate_shared<const TTorrentInfo>(allocator, texts, Document, &storage, Key());
}

}  // namespace seedlens
