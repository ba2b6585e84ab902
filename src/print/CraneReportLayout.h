#pragma once

#include "analysis/CraneReportContent.h"
#include "base/Failure.h"

#include <optional>
#include <string>

class QPagedPaintDevice;

// The crane report for an owner or an expert: identification, due dates,
// history, the chart of the accumulated characteristic number with its trend
// and forecast, overload episodes, remarks, the log and the read-outs'
// SHA-256, on as many pages as it takes.
namespace nkp::print {

// Draws the report on `device` (a printer, a preview's printer or a PDF
// writer); false when the device cannot be painted on. `pages` receives the
// page count.
bool printCraneReport(
    QPagedPaintDevice& device, const analysis::CraneReportContent& content, int* pages = nullptr);

// Writes the report as a PDF file through the safe writer; the failure
// (English, naming the file) when it could not.
Done writeCraneReportPdf(const std::string& path, const analysis::CraneReportContent& content);

}  // namespace nkp::print
