#include "torrent/padding_file.h"

#include <string_view>

#include "torrent/key_table.h"

namespace seedlens {

namespace {
constexpr std::string_view kPaddingNamePrefix = "_____padding_file_";

bool LastElementIsPaddingName(const TBEncoded& Path) {
    const TBEncodedDataList elements = Path.ListData();
    if (elements.Empty()) return false;
    const TBEncoded last = elements.Last().Data;
    return last.IsString() && last.StringData().starts_with(kPaddingNamePrefix);
}
}  // namespace

bool IsPaddingMark(const TBEncodedData& Member) {
    const std::string_view key = Member.Header;
    // Other letters ("x" executable, "h" hidden, "l" link) mark real files.
    if (SameKey(key, "attr")) return Member.Data.IsString() && Member.Data.StringData().find('p') != std::string_view::npos;
    return (SameKey(key, "path") || SameKey(key, "path.utf-8")) && LastElementIsPaddingName(Member.Data);
}

bool IsPaddingFile(const TBEncoded& Entry) {
    for (const TBEncodedData& member : Entry.ListData())
        if (IsPaddingMark(member)) return true;
    return false;
}

}  // namespace seedlens
