#include "torrent/padding_file.h"

#include <string_view>

namespace seedlens {

namespace {
constexpr std::string_view kPaddingNamePrefix = "_____padding_file_";

bool LastElementIsPaddingName(const TBEncoded& Path) {
    const TBEncodedDataList elements = Path.ListData();
    if (elements.Empty()) return false;
    const TBEncoded& last = elements.Last().Data;
    return last.IsString() && last.StringData().starts_with(kPaddingNamePrefix);
}
}  // namespace

bool IsPaddingFile(const TBEncoded& Entry) {
    for (const TBEncodedData& member : Entry.ListData()) {
        const std::string_view key = member.Header;
        if (key == "attr") {
            // Other letters ("x" executable, "h" hidden, "l" link) mark real files.
            if (member.Data.IsString() && member.Data.StringData().find('p') != std::string_view::npos) return true;
        } else if (key == "path" || key == "path.utf-8") {
            if (LastElementIsPaddingName(member.Data)) return true;
        }
    }
    return false;
}

}  // namespace seedlens
