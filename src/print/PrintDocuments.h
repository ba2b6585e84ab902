#pragma once

#include "analysis/MainState.h"
#include "print/AppendixLayout.h"
#include "print/FrameRange.h"

#include <QString>

class QPagedPaintDevice;

// The printouts as whole documents on any paged device: the preview's
// printer, a printer, or a PDF file. Each returns false when the device
// cannot be painted on (e.g. a PDF file that cannot be created).
namespace nkp::print {

bool printInfoCard(QPagedPaintDevice& device, const analysis::MainState& state);
bool printAppendixPage(QPagedPaintDevice& device, const analysis::MainState& state, AppendixPage page);
// The card followed by both appendix pages, one document of three pages.
bool printCardWithAppendix(QPagedPaintDevice& device, const analysis::MainState& state);
// The listing of the records in `range`; `pages` receives the page count.
bool printOperationalInfo(QPagedPaintDevice& device, const analysis::MainState& state, FrameRange range,
    char decimalSeparator, int* pages = nullptr);

// PDF files of the same documents.
enum class PdfDocument { CardWithAppendix, OperationalInfo };
bool writePdf(const QString& path, PdfDocument document, const analysis::MainState& state, FrameRange range,
    char decimalSeparator);

}  // namespace nkp::print
