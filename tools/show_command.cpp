#include "tools/show_command.h"

#include <iostream>
#include <memory>

#include "platform/console.h"
#include "tools/report_writers.h"
#include "tools/torrent_paths.h"

namespace seedlens::tool {

namespace {

// Below this many files a run is quick enough to need no progress line.
constexpr std::size_t kProgressThreshold = 300;

std::unique_ptr<ReportWriter> MakeWriter(const std::string& Format) {
    if (Format == "table") return std::make_unique<TableWriter>();
    if (Format == "json") return std::make_unique<JsonWriter>();
    if (Format == "csv") return std::make_unique<CsvWriter>();
    return nullptr;
}

}  // namespace

int RunShow(const ShowOptions& Options) {
    auto writer = MakeWriter(Options.Format);
    if (!writer) {
        std::cerr << "seedlens: unknown format '" << Options.Format << "' (table, json or csv)\n";
        return 2;
    }
    if (Options.Paths.empty()) {
        std::cerr << "seedlens: show needs at least one file or folder\n";
        return 2;
    }
    const LoadedPlugin plugin(Options.PluginPath);
    const std::vector<Column> columns = ReportColumns(plugin);
    const PathList paths = CollectTorrentPaths(Options.Paths, Options.Recursive);

    int exitCode = paths.Problems.empty() ? 0 : 1;
    for (const std::string& problem : paths.Problems) std::cerr << "seedlens: " << problem << '\n';

    const bool showProgress = paths.Files.size() > kProgressThreshold && platform::IsTerminal(platform::Stream::Error);
    std::size_t done = 0;
    for (const std::string& path : paths.Files) {
        const TorrentReport report = AskPlugin(plugin, columns, path, Options.Narrow);
        if (report.Loaded) {
            writer->Write(columns, report, std::cout);
        } else {
            if (showProgress) std::cerr << '\n';
            std::cerr << "seedlens: " << path << ": cannot be loaded (missing, unreadable or not a torrent)\n";
            exitCode = 1;
        }
        if (showProgress && (++done % 100 == 0 || done == paths.Files.size()))
            std::cerr << "\r" << done << " of " << paths.Files.size() << " files" << std::flush;
    }
    if (showProgress) std::cerr << '\n';
    return exitCode;
}

}  // namespace seedlens::tool
