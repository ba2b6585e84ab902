#pragma once

#include "archive/Archive.h"
#include "archive/CraneHistory.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The archive as tables: one row per crane, and a crane's read-outs in
// reading order. Shared by the window, the CSV text and nkp3-tool.
namespace nkp::archive {

struct CraneRow {
    std::int64_t craneId = 0;
    std::string model, number;              // Windows-1251
    std::vector<ArchivedReadout> readouts;  // in the order of trend.points
    CraneTrend trend;
    const ArchivedReadout& newest() const { return readouts[trend.newest]; }
};

// Groups the archive's read-outs by crane and works out each crane's
// history, ordered by model and number.
std::vector<CraneRow> craneRows(std::vector<ArchivedReadout> readouts);

// The cranes whose model and number texts (trimmed, Windows-1251) match. A
// crane without a number is a crane of its own read-out, never merged: an
// empty number finds every such crane of the model, a file name those whose
// read-out has that name. A given `sha256` (hex, either case) keeps the
// crane that holds that read-out.
std::vector<const CraneRow*> findCranes(const std::vector<CraneRow>& rows, const std::string& model,
    const std::string& number, const std::string& sha256 = {});

enum class CraneColumn {
    Model,
    Number,
    Owner,
    Readouts,
    FirstReading,
    NewestReading,
    Accumulated,
    Normative,
    ResourcePercent,
    GrowthPerYear,
    Forecast,
    OverloadEpisodes,  // of the newest read-out
    Signature,         // the worst signature status among the crane's read-outs
    Remark,
};
inline constexpr int kCraneColumnCount = 14;

enum class HistoryColumn {
    ReadingMoment,
    LimiterSerial,
    TotalCycles,
    Characteristic,
    Accumulated,
    ResourcePercent,
    OverloadEpisodes,
    File,
    Signature,
};
inline constexpr int kHistoryColumnCount = 9;

// Headings and cells are UTF-8.
std::string_view craneColumnHeader(CraneColumn column);
std::string craneCellText(const CraneRow& row, CraneColumn column, char decimalSeparator);
// The number a numeric column sorts by (dates as yyyymmddhhmm); nothing for text.
std::optional<double> craneCellNumber(const CraneRow& row, CraneColumn column);

std::string_view historyColumnHeader(HistoryColumn column);
std::string historyCellText(
    const CraneRow& row, std::size_t point, HistoryColumn column, char decimalSeparator);

// The worst signature status among the crane's read-outs: a changed or
// damaged signature, then a key not trusted, then none, then a valid one.
signing::SignatureStatus craneSignature(const CraneRow& row);

// The crane's remark: the trend's remark, read-outs without a real reading
// date, limiter replacements, a missing crane number. UTF-8.
std::string craneRemark(const CraneRow& row);

// Both tables as rows of cells, the heading first (for the CSV writer).
std::vector<std::vector<std::string>> craneTableCells(
    const std::vector<CraneRow>& rows, char decimalSeparator);
std::vector<std::vector<std::string>> historyTableCells(const CraneRow& row, char decimalSeparator);

}  // namespace nkp::archive
