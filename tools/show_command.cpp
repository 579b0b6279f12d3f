#include "tools/show_command.h"

#include <memory>
#include <variant>

#include "tools/checked_output.h"
#include "tools/column_choice.h"
#include "tools/progress_line.h"
#include "tools/report_writers.h"
#include "tools/terminal_text.h"
#include "tools/torrent_paths.h"

namespace seedlens::tool {

namespace {

// Below this many files a run is quick enough to need no progress line.
constexpr std::size_t kProgressThreshold = 300;

std::unique_ptr<ReportWriter> MakeWriter(const ShowOptions& Options, bool Terminal) {
    const std::string& Format = Options.Format;
    if (Options.Bare) return std::make_unique<BareWriter>(Terminal);
    if (Format == "json") return std::make_unique<JsonWriter>();
    if (Format == "csv") return std::make_unique<CsvWriter>(Terminal);
    return std::make_unique<TableWriter>(Terminal);
}

}  // namespace

int RunShow(const LoadedPlugin& Plugin, const ShowOptions& Options) {
    const bool outputIsTerminal = platform::IsTerminal(platform::Stream::Output);
    const bool errorIsTerminal = platform::IsTerminal(platform::Stream::Error);
    const auto complain = [&](const std::string& Message) {
        WriteNow(platform::Stream::Error, "seedlens: " + (errorIsTerminal ? EscapeControls(Message) : Message) + "\n");
    };
    const bool table = Options.Format != "json" && Options.Format != "csv" && !Options.Bare;
    auto writer = MakeWriter(Options, outputIsTerminal);
    std::vector<Column> columns = ReportColumns(Plugin);
    if (Options.Fields) {
        auto chosen = ChooseColumns(columns, *Options.Fields);
        if (const auto* error = std::get_if<std::string>(&chosen)) {
            complain(*error);
            return 2;
        }
        columns = std::move(std::get<std::vector<Column>>(chosen));
    }
    const PathList paths = CollectTorrentPaths(Options.Paths, Options.Recursive);

    int exitCode = paths.Problems.empty() ? 0 : 1;
    for (const std::string& problem : paths.Problems) complain(problem);
    for (const std::string& hint : paths.Hints) complain(hint);

    CheckedOutput out(platform::Stream::Output);
    writer->Begin(columns, out.Text());
    ProgressLine progress(paths.Files.size(), paths.Files.size() > kProgressThreshold && errorIsTerminal);
    // Scripts get every text whole; a table shows what a file manager's column would.
    const TextBuffer buffer = table ? TextBuffer::Host : TextBuffer::Whole;
    for (const std::string& path : paths.Files) {
        const TorrentReport report = AskPlugin(Plugin, columns, path, Options.Narrow, buffer);
        if (!report.Loaded) {
            progress.Hide();
            complain(path + ": " + report.Error);
            exitCode = 1;
        }
        writer->Write(columns, report, out.Text());
        if (outputIsTerminal) {
            // Both streams may be this terminal: the counter must not stay inside a record.
            progress.Hide();
            out.Flush();
        } else {
            out.FlushIfFull();
        }
        progress.Count();
    }
    progress.Hide();
    out.Flush();
    return exitCode;
}

}  // namespace seedlens::tool
