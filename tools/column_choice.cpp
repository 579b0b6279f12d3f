#include "tools/column_choice.h"

#include <algorithm>
#include <string_view>

namespace seedlens::tool {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool SameName(std::string_view A, std::string_view B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

std::string_view Trimmed(std::string_view Text) {
    while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t')) Text.remove_prefix(1);
    while (!Text.empty() && (Text.back() == ' ' || Text.back() == '\t')) Text.remove_suffix(1);
    return Text;
}

std::string Known(const std::vector<Column>& Offered) {
    std::string names;
    for (const Column& column : Offered) names += (names.empty() ? "" : ", ") + column.Name;
    return names;
}

}  // namespace

std::variant<std::vector<Column>, std::string> ChooseColumns(const std::vector<Column>& Offered, const std::string& List) {
    std::vector<Column> chosen;
    std::string_view rest = List;
    for (;;) {
        const std::size_t comma = rest.find(',');
        const std::string_view name = Trimmed(rest.substr(0, comma));
        const auto found =
            std::find_if(Offered.begin(), Offered.end(), [&](const Column& Each) { return SameName(Each.Name, name); });
        if (found == Offered.end()) {
            const std::string what = name.empty() ? "an empty name" : "'" + std::string(name) + "'";
            return "--fields: " + what + " is no field; the fields are " + Known(Offered);
        }
        chosen.push_back(*found);
        if (comma == std::string_view::npos) return chosen;
        rest.remove_prefix(comma + 1);
    }
}

}  // namespace seedlens::tool
