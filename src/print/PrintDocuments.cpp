#include "print/PrintDocuments.h"

#include "print/AppendixSeries.h"
#include "print/EventsLayout.h"
#include "print/InfoCardLayout.h"
#include "print/OperLayout.h"
#include "print/OperListing.h"
#include "print/PageCanvas.h"

#include "base/SafeFileWriter.h"

#include <QFile>
#include <QPdfWriter>

namespace nkp::print {

bool printInfoCard(QPagedPaintDevice& device, const screen::MainState& state)
{
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    drawInfoCard(canvas, state);
    return canvas.finish();
}

bool printAppendixPage(QPagedPaintDevice& device, const screen::MainState& state, AppendixPage page)
{
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    drawAppendixPage(canvas, state, appendixSeries(state), page);
    return canvas.finish();
}

bool printCardWithAppendix(QPagedPaintDevice& device, const screen::MainState& state)
{
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    drawInfoCard(canvas, state);
    const AppendixSeries series = appendixSeries(state);
    canvas.newPage();
    drawAppendixPage(canvas, state, series, AppendixPage::LoadAndMass);
    canvas.newPage();
    drawAppendixPage(canvas, state, series, AppendixPage::BoomAndRadius);
    return canvas.finish();
}

bool printOperationalInfo(QPagedPaintDevice& device, const screen::MainState& state, FrameRange range,
    char decimalSeparator, int* pages)
{
    const std::vector<QString> lines = listingLines(state.frames, range, decimalSeparator);
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    const int count
        = drawOperationalInfo(canvas, state, lines, listedRange(state.frames.size(), range).first);
    if (pages)
        *pages = count;
    return canvas.finish();
}

bool printEvents(QPagedPaintDevice& device, const screen::MainState& state, int overloadThreshold,
    char decimalSeparator, int* pages, int kind)
{
    EventsReport report = eventsReport(state, overloadThreshold);
    if (kind >= 0)
        std::erase_if(
            report.episodes, [kind](const analysis::Episode& e) { return static_cast<int>(e.kind) != kind; });
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    const int count = drawEventsReport(canvas, state, report, decimalSeparator);
    if (pages)
        *pages = count;
    return canvas.finish();
}

Done writePdfFile(const std::string& path, const QString& title, const PaintDocument& paint)
{
    fileio::ReplacementFile target;
    if (Done opened = target.open(path); !opened)
        return opened;
    QFile file;
    if (!file.open(target.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        return Failure {path, "cannot write '" + path + "': " + file.errorString().toStdString()};
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("nkp3-analyzer"));
        writer.setTitle(title);
        painted = paint(writer);
    }
    // The writer reports no failed writes of its own: the file tells them.
    const bool written = file.flush() && file.error() == QFileDevice::NoError;
    const std::string cause = file.errorString().toStdString();
    file.close();
    if (!painted || !written)
        return Failure {path,
            "cannot write '" + path
                + "': " + (written ? std::string("the document was not finished") : cause)};
    return target.commit();
}

Done writePdf(const std::string& path, PdfDocument document, const screen::MainState& state, FrameRange range,
    char decimalSeparator)
{
    if (document == PdfDocument::CardWithAppendix)
        return writePdfFile(path, QStringLiteral("Информационная карта"),
            [&state](QPagedPaintDevice& device) { return printCardWithAppendix(device, state); });
    return writePdfFile(path, QStringLiteral("Оперативная информация"), [&](QPagedPaintDevice& device) {
        return printOperationalInfo(device, state, range, decimalSeparator);
    });
}

Done writePdf(const QString& path, PdfDocument document, const screen::MainState& state, FrameRange range,
    char decimalSeparator)
{
    return writePdf(QFile::encodeName(path).toStdString(), document, state, range, decimalSeparator);
}

Done writeEventsPdf(
    const std::string& path, const screen::MainState& state, int overloadThreshold, char decimalSeparator)
{
    return writePdfFile(path, QStringLiteral("События"), [&](QPagedPaintDevice& device) {
        return printEvents(device, state, overloadThreshold, decimalSeparator);
    });
}

}  // namespace nkp::print
