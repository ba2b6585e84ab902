#include "print/OperLayout.h"

#include "print/CardTexts.h"
#include "print/OperListing.h"
#include "print/PageCanvas.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace nkp::print {
namespace {

constexpr double kTop = mm(20);
constexpr double kBottom = kPageHeight - mm(20);
constexpr double kLeft = mm(16);
constexpr double kRight = kPageWidth - mm(10);
constexpr double kTabStop = 48;  // the rich-text block's default tab stops, half an inch
constexpr double kHeaderHeight = 34;
constexpr double kNoteHeight = 14;  // the line naming the page's records
constexpr double kFooterHeight = 22;

QFont listingFont(const PageCanvas& canvas)
{
    return canvas.font(FontFace::CourierNew, {8, false, false});
}

// One line with tabs jumping to the next half-inch stop, as the rich-text
// block lays them out.
class TabbedLines {
public:
    TabbedLines(PageCanvas& canvas, const QFont& font)
        : painter_(canvas.painter())
        , metrics_(font, painter_.device())
        , lineHeight_(canvas.lineHeight(font))
    {
        painter_.setFont(font);
        painter_.setPen(Qt::black);
    }

    double lineHeight() const { return lineHeight_; }

    void draw(double x0, double top, const QString& line)
    {
        const double baseline = top + metrics_.ascent();
        double x = 0;
        qsizetype start = 0;
        while (start <= line.size()) {
            qsizetype tab = line.indexOf(QLatin1Char('\t'), start);
            const qsizetype end = tab < 0 ? line.size() : tab;
            if (end > start) {
                const QString piece = line.mid(start, end - start);
                painter_.drawText(QPointF(x0 + x, baseline), piece);
                x += metrics_.horizontalAdvance(piece);
            }
            if (tab < 0)
                break;
            x = (std::floor(x / kTabStop + 1e-9) + 1) * kTabStop;
            start = tab + 1;
        }
    }

private:
    QPainter& painter_;
    QFontMetricsF metrics_;
    double lineHeight_;
};

void drawHeader(TabbedLines& lines)
{
    lines.draw(kLeft, kTop, listingHeadColumns());
    lines.draw(kLeft, kTop + lines.lineHeight(), listingHeadUnits());
}

void drawFooter(PageCanvas& canvas, const QString& footerText, int page)
{
    drawPageFooter(canvas, kLeft, kRight, kBottom - kFooterHeight, footerText, page);  // QRLabel_BTitl
}

}  // namespace

int listingLinesPerPage(const PageCanvas& canvas)
{
    const double room = (kBottom - kFooterHeight - 8) - (kTop + kHeaderHeight + kNoteHeight);
    return std::max(1, static_cast<int>(room / canvas.lineHeight(listingFont(canvas))));
}

int drawOperationalInfo(
    PageCanvas& canvas, const screen::MainState& state, const std::vector<QString>& lines, int firstRecord)
{
    const QString footer = listingFooterText(state);
    const QFont font = listingFont(canvas);
    const int perPage = listingLinesPerPage(canvas);
    const std::size_t total = lines.size();
    int page = 0;
    std::size_t next = 0;
    // A listing without lines still prints its page with head and footer.
    do {
        if (page > 0)
            canvas.newPage();
        ++page;
        TabbedLines writer(canvas, font);
        drawHeader(writer);
        const int first = firstRecord + static_cast<int>(next);
        const int count
            = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(perPage), total - next));
        writer.draw(
            kLeft, kTop + kHeaderHeight - 8, listingFramesNote({first, first + count - 1}, state.RingStart));
        double y = kTop + kHeaderHeight + kNoteHeight;
        for (int n = 0; n < count; ++n, ++next) {
            writer.draw(kLeft, y, lines[next]);
            y += writer.lineHeight();
        }
        drawFooter(canvas, footer, page);
    } while (next < total);
    return page;
}

}  // namespace nkp::print
