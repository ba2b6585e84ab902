#pragma once

#include "analysis/CraneReportContent.h"
#include "archive/Archive.h"
#include "archive/ArchiveResult.h"
#include "archive/CraneLog.h"
#include "archive/CraneRemarks.h"
#include "archive/CraneTable.h"
#include "archive/DueDates.h"

#include <cstdint>
#include <optional>
#include <vector>

// What the archive tells a service organisation: due dates of every crane,
// the remarks, and everything about one crane for its report. Read in one
// go from an open archive (the tool and the window's session share these).
namespace nkp::archive {

// Every crane's due items, sorted by date.
Result<std::vector<DueRow>> dueList(const Archive& archive, const base::DateTime& today, int horizonDays);

// The remarks of every crane, or of one crane (its read-outs, and images
// given under its identification that were in the archive already).
Result<std::vector<CraneRemark>> remarkList(const Archive& archive, std::optional<std::int64_t> craneId);

struct CraneReport {
    CraneRow row;  // identification, read-outs and trend
    CraneSettings settings;
    base::DateTime today;
    std::vector<DueDate> due;
    std::vector<CraneRemark> remarks;
    std::vector<LogEntry> log;
};

Result<CraneReport> craneReport(
    const Archive& archive, std::int64_t craneId, const base::DateTime& today, int horizonDays);

// The report's texts and series for the printout.
analysis::CraneReportContent craneReportContent(const CraneReport& report, char decimalSeparator);

}  // namespace nkp::archive
