#include "plugin/value_request.h"

#include "plugin/content_plugin_api.h"

namespace seedlens {

std::int32_t RequestValue(PluginLibrary& Library, std::u16string_view FileName, std::int32_t FieldIndex,
                          std::int32_t UnitIndex, void* FieldValue, std::int32_t MaxLen, std::int32_t Flags,
                          TextWidth Width) {
    const bool immediateOnly = (Flags & host::kFlagImmediateOnly) != 0;
    const TorrentInfoPtr info = Library.Cache().GetTorrentInfo(FileName, immediateOnly);
    if (!info) return host::ftNoValueNow;
    return WriteFieldValue(Library.FieldTable(), *info, FieldIndex, UnitIndex, FieldValue, MaxLen, Width);
}

}  // namespace seedlens
