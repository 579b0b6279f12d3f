#include "tools/report_writers.h"

#include <algorithm>

#include "tools/value_format.h"

namespace seedlens::tool {

namespace {

constexpr std::int32_t kText = 8, kWideText = 11, kBoolean = 6, kDate = 10, kInt64 = 2;

bool IsText(std::int32_t Result) { return Result == kText || Result == kWideText; }
bool HasValue(std::int32_t Result) { return Result > 0; }

std::string ForPeople(const FieldAnswer& Answer) {
    if (!HasValue(Answer.Result)) return "";
    if (IsText(Answer.Result)) return Answer.Text;
    switch (Answer.Result) {
        case kBoolean: return Answer.Integer != 0 ? "yes" : "no";
        case kDate: return IsoDate(Answer.Integer);
        case kInt64: return HumanSize(Answer.Integer) + " (" + std::to_string(Answer.Integer) + " bytes)";
        default: return std::to_string(Answer.Integer);
    }
}

std::string ForScripts(const FieldAnswer& Answer) {
    if (!HasValue(Answer.Result)) return "";
    if (IsText(Answer.Result)) return Answer.Text;
    if (Answer.Result == kBoolean) return Answer.Integer != 0 ? "true" : "false";
    return std::to_string(Answer.Integer);
}

}  // namespace

void TableWriter::Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::ostream& Out) {
    std::size_t width = 0;
    for (const Column& column : Columns) width = std::max(width, column.Name.size());
    if (!FFirst) Out << '\n';
    FFirst = false;
    Out << Report.Path << '\n';
    for (std::size_t i = 0; i < Columns.size(); ++i) {
        const std::string value = ForPeople(Report.Answers[i]);
        Out << "  " << Columns[i].Name;
        if (!value.empty()) Out << std::string(width - Columns[i].Name.size() + 2, ' ') << value;
        Out << '\n';
    }
}

void JsonWriter::Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::ostream& Out) {
    Out << "{\"path\": " << JsonString(Report.Path);
    for (std::size_t i = 0; i < Columns.size(); ++i) {
        const FieldAnswer& answer = Report.Answers[i];
        Out << ", " << JsonString(Columns[i].Name) << ": ";
        if (!HasValue(answer.Result))
            Out << "{\"result\": " << answer.Result << "}";
        else if (IsText(answer.Result))
            Out << JsonString(answer.Text);
        else
            Out << ForScripts(answer);
    }
    Out << "}\n";
}

void CsvWriter::Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::ostream& Out) {
    if (!FHeaderWritten) {
        Out << "path";
        for (const Column& column : Columns) Out << ',' << CsvField(column.Name);
        Out << '\n';
        FHeaderWritten = true;
    }
    Out << CsvField(Report.Path);
    for (const FieldAnswer& answer : Report.Answers) Out << ',' << CsvField(ForScripts(answer));
    Out << '\n';
}

}  // namespace seedlens::tool
