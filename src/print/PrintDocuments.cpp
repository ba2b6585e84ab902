#include "print/PrintDocuments.h"

#include "print/AppendixSeries.h"
#include "print/InfoCardLayout.h"
#include "print/OperLayout.h"
#include "print/OperListing.h"
#include "print/PageCanvas.h"

#include <QPdfWriter>

namespace nkp::print {

bool printInfoCard(QPagedPaintDevice& device, const analysis::MainState& state)
{
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    drawInfoCard(canvas, state);
    return true;
}

bool printAppendixPage(QPagedPaintDevice& device, const analysis::MainState& state, AppendixPage page)
{
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    drawAppendixPage(canvas, state, appendixSeries(state), page);
    return true;
}

bool printCardWithAppendix(QPagedPaintDevice& device, const analysis::MainState& state)
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
    return true;
}

bool printOperationalInfo(QPagedPaintDevice& device, const analysis::MainState& state, FrameRange range,
    char decimalSeparator, int* pages)
{
    const std::vector<QString> lines = listingLines(state.frames, range, decimalSeparator);
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    const int count = drawOperationalInfo(canvas, state, lines);
    if (pages)
        *pages = count;
    return true;
}

bool writePdf(const QString& path, PdfDocument document, const analysis::MainState& state, FrameRange range,
    char decimalSeparator)
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setCreator(QStringLiteral("nkp3-analyzer"));
    if (document == PdfDocument::CardWithAppendix) {
        writer.setTitle(QStringLiteral("Информационная карта"));
        return printCardWithAppendix(writer, state);
    }
    writer.setTitle(QStringLiteral("Оперативная информация"));
    return printOperationalInfo(writer, state, range, decimalSeparator);
}

}  // namespace nkp::print
