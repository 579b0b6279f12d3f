#pragma once
// The three output formats of `seedlens show`.

#include <ostream>
#include <vector>

#include "tools/torrent_report.h"

namespace seedlens::tool {

class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    // Called once per loaded file, in order.
    virtual void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::ostream& Out) = 0;
};

// Aligned blocks for people: sizes human-readable, dates in ISO 8601 UTC,
// empty fields blank.
class TableWriter : public ReportWriter {
public:
    void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::ostream& Out) override;

private:
    bool FFirst = true;
};

// One JSON object per line; raw values, and {"result": code} where the
// plug-in gave no value.
class JsonWriter : public ReportWriter {
public:
    void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::ostream& Out) override;
};

// A header row, then one row per file; raw values, empty fields blank.
class CsvWriter : public ReportWriter {
public:
    void Write(const std::vector<Column>& Columns, const TorrentReport& Report, std::ostream& Out) override;

private:
    bool FHeaderWritten = false;
};

}  // namespace seedlens::tool
