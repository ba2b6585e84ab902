#pragma once

#include "base/Failure.h"
#include "print/AppendixLayout.h"
#include "print/FrameRange.h"
#include "screen/MainState.h"

#include <QString>

#include <functional>
#include <string>

class QPagedPaintDevice;

// The printouts as whole documents on any paged device: the preview's
// printer, a printer, or a PDF file. Each returns false when the device
// cannot be painted on (e.g. a PDF file that cannot be created).
namespace nkp::print {

bool printInfoCard(QPagedPaintDevice& device, const screen::MainState& state);
bool printAppendixPage(QPagedPaintDevice& device, const screen::MainState& state, AppendixPage page);
// The card followed by both appendix pages, one document of three pages.
bool printCardWithAppendix(QPagedPaintDevice& device, const screen::MainState& state);
// The listing of the records in `range`; `pages` receives the page count.
bool printOperationalInfo(QPagedPaintDevice& device, const screen::MainState& state, FrameRange range,
    char decimalSeparator, int* pages = nullptr);

// The events list and the load spectrum of the read-out, overloads counted
// from `overloadThreshold` percent; `pages` receives the page count. A
// `kind` of 0 or more lists the episodes of that EventKind only.
bool printEvents(QPagedPaintDevice& device, const screen::MainState& state, int overloadThreshold,
    char decimalSeparator, int* pages = nullptr, int kind = -1);

// Paints a whole document on the device; false when it could not.
using PaintDocument = std::function<bool(QPagedPaintDevice&)>;

// Writes a PDF file (600 dpi, titled `title`) with what `paint` draws. The
// file is written beside `path` and renamed over it only when the painter
// ended and every byte reached the disk; otherwise an older file stays and
// the failure's cause is English, naming the file.
Done writePdfFile(const std::string& path, const QString& title, const PaintDocument& paint);

// PDF files of the same documents.
enum class PdfDocument { CardWithAppendix, OperationalInfo };
Done writePdf(const std::string& path, PdfDocument document, const screen::MainState& state, FrameRange range,
    char decimalSeparator);
Done writePdf(const QString& path, PdfDocument document, const screen::MainState& state, FrameRange range,
    char decimalSeparator);
Done writeEventsPdf(
    const std::string& path, const screen::MainState& state, int overloadThreshold, char decimalSeparator);

}  // namespace nkp::print
