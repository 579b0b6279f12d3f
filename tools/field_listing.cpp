#include "tools/field_listing.h"

#include <iomanip>
#include <vector>

namespace seedlens::tool {

const char* TypeCodeName(std::int32_t Type) {
    switch (Type) {
        case 1: return "int32";
        case 2: return "int64";
        case 6: return "boolean";
        case 8: return "text";
        case 10: return "datetime";
        case 11: return "text (UTF-16)";
        default: return "unknown";
    }
}

void PrintFieldTable(const LoadedPlugin& Plugin, std::ostream& Out) {
    Out << "Detect string: " << Plugin.DetectString() << "\n\n";
    std::vector<FieldInfo> fields;
    for (std::int32_t i = 0;; ++i) {
        auto field = Plugin.SupportedField(i);
        if (!field) break;
        fields.push_back(std::move(*field));
    }
    std::size_t nameWidth = 4;
    for (const FieldInfo& f : fields) nameWidth = std::max(nameWidth, f.Name.size());

    Out << std::left << std::setw(6) << "Index" << std::setw(static_cast<int>(nameWidth + 2)) << "Name"
        << std::setw(14) << "Type" << std::setw(6) << "Sort" << "Units\n";
    for (const FieldInfo& f : fields) {
        const std::string type = std::to_string(f.Type) + " " + TypeCodeName(f.Type);
        Out << std::left << std::setw(6) << f.Index << std::setw(static_cast<int>(nameWidth + 2)) << f.Name
            << std::setw(14) << type << std::setw(6) << f.Sort << f.Units << "\n";
    }
}

}  // namespace seedlens::tool
