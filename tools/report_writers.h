#pragma once
// The three output formats of `seedlens show`. Records are appended to a
// text that the caller writes out.

#include <string>
#include <vector>

#include "tools/torrent_report.h"

namespace seedlens::tool {

class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    // Called once, before any record.
    virtual void Begin(const std::vector<Column>& Columns, std::string& Out);
    // Called once per file asked for, in order, whether it loaded or not.
    virtual void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) = 0;
};

// Aligned blocks for people: sizes human-readable, dates in local time with
// their offset, empty fields blank, a cut text ending in "…", lines of a
// value after its first indented under it. Files that did not load are
// left to the error stream. For a terminal, control characters are escaped.
class TableWriter : public ReportWriter {
public:
    explicit TableWriter(bool ForTerminal) : FForTerminal(ForTerminal) {}
    void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) override;

private:
    bool FForTerminal;
    bool FFirst = true;
};

// One JSON object per line: "path", "path_bytes" (hex) when the path is no
// UTF-8, "error" (null when the file loaded), then every column; null where
// the plug-in gave no value, dates in ISO 8601 UTC, sizes in bytes, booleans
// as booleans. Controls are always escaped, so JSON is safe on a terminal.
class JsonWriter : public ReportWriter {
public:
    void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) override;
};

// A header row, always, then one row per file with the values JSON gives;
// an empty cell where JSON has null. The bytes stay as they are, except that
// for a terminal control characters are escaped as in the table.
class CsvWriter : public ReportWriter {
public:
    explicit CsvWriter(bool ForTerminal) : FForTerminal(ForTerminal) {}
    void Begin(const std::vector<Column>& Columns, std::string& Out) override;
    void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) override;

private:
    bool FForTerminal;
};

// The values alone, for scripts and copying: one line per column for each
// file that loaded, as JSON gives them unquoted; an empty line for no
// value, "\n" and "\r" for line breaks. Files that did not load are left to
// the error stream. For a terminal, control characters are escaped.
class BareWriter : public ReportWriter {
public:
    explicit BareWriter(bool ForTerminal) : FForTerminal(ForTerminal) {}
    void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::string& Out) override;

private:
    bool FForTerminal;
};

}  // namespace seedlens::tool
