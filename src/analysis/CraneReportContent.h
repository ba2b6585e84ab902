#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// What the crane report shows, as texts and plain series: the archive fills
// it, the printout draws it. UTF-8.
namespace nkp::analysis {

struct ReportTable {
    std::string title;
    std::vector<std::vector<std::string>> cells;  // heading first
    std::vector<int> highlightedRows;             // rows (of cells) drawn in red: overdue items
};

struct ReportChart {
    std::string title;
    std::vector<double> days;                // day numbers since 1 January 1970
    std::vector<double> accumulated;         // the accumulated characteristic number
    std::optional<double> trendSlopePerDay;  // the trend line through the newest point
    std::optional<double> normative;         // the normative number: a level line
    std::optional<double> forecastDay;       // the marked forecast date
    std::string forecastLabel;               // "прогноз: dd.mm.yyyy", "исчерпан", ...
};

struct CraneReportContent {
    std::string title;  // "Отчёт по крану КС-… № …"
    std::vector<std::pair<std::string, std::string>> identification;  // label, value
    std::string madeOn;                                               // "dd.mm.yyyy"
    std::vector<ReportTable> tablesBeforeChart;                       // due dates, history
    ReportChart chart;
    std::vector<ReportTable> tablesAfterChart;  // overload episodes, remarks, log, SHA-256
};

}  // namespace nkp::analysis
