#include "tools/torrent_report.h"

#include "tools/failure_reason.h"

namespace seedlens::tool {

namespace {
std::vector<std::string> SplitUnits(const std::string& Units) {
    std::vector<std::string> parts;
    if (Units.empty()) return parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = Units.find('|', start);
        parts.push_back(Units.substr(start, bar - start));
        if (bar == std::string::npos) return parts;
        start = bar + 1;
    }
}
}  // namespace

std::vector<Column> ReportColumns(const LoadedPlugin& Plugin) {
    std::vector<Column> columns;
    for (std::int32_t index = 0;; ++index) {
        const auto field = Plugin.SupportedField(index);
        if (!field) break;
        columns.push_back({index, 0, field->Name, field->Type});
        if (field->Type != 8) continue;  // numbers are shown in their first unit only
        const std::vector<std::string> units = SplitUnits(field->Units);
        for (std::size_t unit = 1; unit < units.size(); ++unit)
            columns.push_back({index, static_cast<std::int32_t>(unit), field->Name + " (" + units[unit] + ")", field->Type});
    }
    return columns;
}

TorrentReport AskPlugin(const LoadedPlugin& Plugin, const std::vector<Column>& Columns, const std::string& Path,
                        bool Narrow, TextBuffer Buffer) {
    TorrentReport report;
    report.Path = Path;
    for (const Column& column : Columns) {
        report.Answers.push_back(Plugin.Value(Path, column.Field, column.Unit, Narrow, Buffer));
        FieldAnswer& answer = report.Answers.back();
        // A magnet link too long for the buffer loses whole parameters, well
        // before the buffer is full: only the whole link tells.
        if (Buffer == TextBuffer::Host && column.Name == "Magnet" && !answer.Cut && answer.Result > 0) {
            const FieldAnswer whole = Plugin.Value(Path, column.Field, column.Unit, Narrow, TextBuffer::Whole);
            answer.Cut = whole.Result == answer.Result && whole.Text.size() > answer.Text.size();
        }
        // The first request loads the file; 0 there means it could not be.
        if (report.Answers.size() == 1 && report.Answers[0].Result == 0) {
            report.Answers.clear();
            report.Error = FailureReason(Path);
            return report;
        }
    }
    report.Loaded = true;
    return report;
}

}  // namespace seedlens::tool
