#include "tools/report_writers.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/local_time.h"
#include "tools/terminal_text.h"
#include "tools/value_format.h"

namespace seedlens::tool {

namespace {

constexpr std::int32_t kText = 8, kWideText = 11, kBoolean = 6, kDate = 10, kInt64 = 2;

bool IsText(std::int32_t Result) { return Result == kText || Result == kWideText; }
bool HasValue(std::int32_t Result) { return Result > 0; }

std::string ForPeople(const FieldAnswer& Answer) {
    if (!HasValue(Answer.Result)) return "";
    if (IsText(Answer.Result)) return Answer.Cut ? Answer.Text + "\u2026" : Answer.Text;
    switch (Answer.Result) {
        case kBoolean: return Answer.Integer != 0 ? "yes" : "no";
        case kDate: {
            const auto local = platform::ToLocalTime(Answer.Integer);
            return local ? LocalDate(*local, Answer.Integer) : IsoDate(Answer.Integer);
        }
        case kInt64: return HumanSize(Answer.Integer) + " (" + std::to_string(Answer.Integer) + " bytes)";
        default: return std::to_string(Answer.Integer);
    }
}

// A value for scripts, unquoted; nothing when the plug-in gave none. The
// plug-in answers an absent comment or name with the empty text: for a
// script that is no value either.
std::optional<std::string> ForScripts(const FieldAnswer& Answer) {
    if (!HasValue(Answer.Result)) return std::nullopt;
    if (IsText(Answer.Result)) return Answer.Text.empty() ? std::nullopt : std::optional(Answer.Text);
    if (Answer.Result == kBoolean) return Answer.Integer != 0 ? "true" : "false";
    if (Answer.Result == kDate) return IsoDate(Answer.Integer);
    return std::to_string(Answer.Integer);
}

// The answer for column Index; nothing for a file that did not load.
const FieldAnswer* AnswerAt(const TorrentReport& Report, std::size_t Index) {
    return Index < Report.Answers.size() ? &Report.Answers[Index] : nullptr;
}

// Lines of a value: "\n" and "\r\n" both end one.
std::vector<std::string_view> Lines(std::string_view Value) {
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = Value.find('\n');
        std::string_view line = Value.substr(0, end);
        if (end != std::string_view::npos && line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        Value.remove_prefix(end + 1);
    }
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

}  // namespace

void ReportWriter::Begin(const std::vector<Column>&, std::string&) {}

void TableWriter::Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) {
    if (!Report.Loaded) return;
    const auto shown = [&](std::string_view Text) { return FForTerminal ? EscapeControls(Text) : std::string(Text); };
    std::size_t width = 0;
    for (const Column& column : Columns) width = std::max(width, column.Name.size());
    const std::string indent(2 + width + 2, ' ');
    if (!FFirst) Out += '\n';
    FFirst = false;
    Out += shown(Report.Path);
    Out += '\n';
    for (std::size_t i = 0; i < Columns.size(); ++i) {
        const std::string value = ForPeople(Report.Answers[i]);
        Out += "  ";
        Out += Columns[i].Name;
        if (!value.empty()) {
            const std::vector<std::string_view> lines = Lines(value);
            Out.append(width - Columns[i].Name.size() + 2, ' ');
            Out += shown(lines[0]);
            for (std::size_t line = 1; line < lines.size(); ++line) {
                Out += '\n';
                if (!lines[line].empty()) Out += indent + shown(lines[line]);
            }
        }
        Out += '\n';
    }
}

void JsonWriter::Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) {
    Out += "{\"path\": " + JsonString(Report.Path);
    // jq and Node read the escapes of a name's stray bytes as U+FFFD: the
    // bytes themselves, for any reader.
    if (!IsUtf8(Report.Path)) Out += ", \"path_bytes\": \"" + HexBytes(Report.Path) + '"';
    Out += ", \"error\": ";
    Out += Report.Loaded ? "null" : JsonString(Report.Error);
    for (std::size_t i = 0; i < Columns.size(); ++i) {
        const FieldAnswer* answer = AnswerAt(Report, i);
        Out += ", " + JsonString(Columns[i].Name) + ": ";
        const auto value = answer != nullptr ? ForScripts(*answer) : std::nullopt;
        if (!value)
            Out += "null";
        else if (IsText(answer->Result) || answer->Result == kDate)
            Out += JsonString(*value);
        else
            Out += *value;
    }
    Out += "}\n";
}

void BareWriter::Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) {
    if (!Report.Loaded) return;
    for (std::size_t i = 0; i < Columns.size(); ++i) {
        const std::string value = ForScripts(Report.Answers[i]).value_or("");
        if (FForTerminal) {
            Out += EscapeControls(value);
        } else {
            for (const char c : value) {
                if (c == '\n')
                    Out += "\\n";
                else if (c == '\r')
                    Out += "\\r";
                else
                    Out += c;
            }
        }
        Out += '\n';
    }
}

void CsvWriter::Begin(const std::vector<Column>& Columns, std::string& Out) {
    Out += "path,error";
    for (const Column& column : Columns) Out += ',' + CsvField(column.Name);
    Out += '\n';
}

void CsvWriter::Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) {
    const auto cell = [&](std::string_view Text) { return CsvField(FForTerminal ? EscapeControls(Text) : Text); };
    Out += cell(Report.Path) + ',' + cell(Report.Error);
    for (std::size_t i = 0; i < Columns.size(); ++i) {
        const FieldAnswer* answer = AnswerAt(Report, i);
        Out += ',';
        if (answer != nullptr) Out += cell(ForScripts(*answer).value_or(""));
    }
    Out += '\n';
}

}  // namespace seedlens::tool
