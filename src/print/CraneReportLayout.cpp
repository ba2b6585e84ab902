#include "print/CraneReportLayout.h"

#include "print/PageFlow.h"
#include "print/PrintDocuments.h"

#include "base/DateTime.h"

#include <QPagedPaintDevice>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace nkp::print {
namespace {

constexpr double kLeft = PageFlow::kLeft;
constexpr double kRight = PageFlow::kRight;
constexpr double kCellPad = PageFlow::kCellPad;
constexpr double kChartHeight = mm(75);

QString q(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString dayLabel(double day)
{
    return q(base::dateText(base::dateOfDay(static_cast<std::int64_t>(std::floor(day)))));
}

class ReportPages : public PageFlow {
public:
    ReportPages(PageCanvas& canvas, const analysis::CraneReportContent& content)
        : PageFlow(canvas, q(content.title))
        , content_(content)
    {
    }

    void identification()
    {
        for (const auto& [label, value] : content_.identification) {
            ensureRoom(row_);
            canvas_.text(
                QRectF(kLeft, y_, 150, row_), Qt::AlignLeft | Qt::AlignVCenter, q(label + ":"), bold_);
            canvas_.text(QRectF(kLeft + 150, y_, kRight - kLeft - 150, row_),
                Qt::AlignLeft | Qt::AlignVCenter, q(value), body_);
            y_ += row_;
        }
    }

    void table(const analysis::ReportTable& t)
    {
        // The title stays with the heading and the first row.
        if (t.cells.size() > 1) {
            const std::vector<double> widths = columnWidths(t.cells);
            ensureRoom(30 + rowHeight(t.cells[0], widths, bold_) + rowHeight(t.cells[1], widths, body_));
        }
        title(q(t.title));
        if (t.cells.size() <= 1) {
            ensureRoom(row_);
            canvas_.text(QRectF(kLeft, y_, kRight - kLeft, row_), Qt::AlignLeft | Qt::AlignVCenter,
                QStringLiteral("нет записей"), body_);
            y_ += row_;
            return;
        }
        const std::vector<double> widths = columnWidths(t.cells);
        ensureRoom(rowHeight(t.cells[0], widths, bold_) + row_);
        drawRow(t.cells[0], widths, true, false);
        for (std::size_t r = 1; r < t.cells.size(); ++r) {
            // A table continued on the next page repeats its heading.
            if (ensureRoom(rowHeight(t.cells[r], widths, body_)))
                drawRow(t.cells[0], widths, true, false);
            const bool red
                = std::find(t.highlightedRows.begin(), t.highlightedRows.end(), static_cast<int>(r))
                != t.highlightedRows.end();
            drawRow(t.cells[r], widths, false, red);
        }
    }

    void chart(const analysis::ReportChart& c)
    {
        title(q(c.title));
        ensureRoom(kChartHeight + 2 * row_);
        QPainter& p = canvas_.painter();
        const QRectF plot(kLeft + 45, y_ + 4, kRight - kLeft - 55, kChartHeight - 2 * row_);
        p.setPen(QPen(Qt::black, 0.7));
        p.setBrush(Qt::NoBrush);
        p.drawRect(plot);
        if (c.days.empty()) {
            canvas_.text(plot, Qt::AlignCenter, QStringLiteral("нет считываний с датой"), body_);
            y_ += kChartHeight;
            return;
        }
        // The read-outs fill the width; a forecast close by joins them, a far
        // one is named at the right edge.
        double x0 = *std::min_element(c.days.begin(), c.days.end());
        double x1 = *std::max_element(c.days.begin(), c.days.end());
        const double span = std::max(x1 - x0, 30.0);
        const bool forecastShown = c.forecastDay && *c.forecastDay <= x1 + span / 2;
        if (forecastShown)
            x1 = *c.forecastDay;
        x1 = std::max(x1, x0 + 30);
        double y1 = *std::max_element(c.accumulated.begin(), c.accumulated.end());
        if (c.normative && (forecastShown || *c.normative <= 1.5 * y1))
            y1 = std::max(y1, *c.normative);
        y1 = y1 > 0 ? y1 * 1.08 : 1;
        const auto at = [&](double x, double y) {
            return QPointF(
                plot.left() + (x - x0) / (x1 - x0) * plot.width(), plot.bottom() - y / y1 * plot.height());
        };
        p.save();
        p.setClipRect(plot);
        if (c.normative) {
            p.setPen(QPen(Qt::darkRed, 0.8, Qt::DashLine));
            p.drawLine(at(x0, *c.normative), at(x1, *c.normative));
        }
        if (c.trendSlopePerDay) {
            const double lastX = c.days.back(), lastY = c.accumulated.back();
            const double from = std::max(x0, lastX - 365);
            p.setPen(QPen(Qt::darkGreen, 0.8, Qt::DashLine));
            p.drawLine(at(from, lastY + (from - lastX) * *c.trendSlopePerDay),
                at(x1, lastY + (x1 - lastX) * *c.trendSlopePerDay));
        }
        QPainterPath path;
        for (std::size_t i = 0; i < c.days.size(); ++i)
            i == 0 ? path.moveTo(at(c.days[i], c.accumulated[i]))
                   : path.lineTo(at(c.days[i], c.accumulated[i]));
        p.setPen(QPen(Qt::blue, 1.2));
        p.drawPath(path);
        p.setBrush(Qt::blue);
        for (std::size_t i = 0; i < c.days.size(); ++i)
            p.drawEllipse(at(c.days[i], c.accumulated[i]), 1.6, 1.6);
        if (forecastShown) {
            p.setPen(QPen(Qt::red, 0.8));
            p.drawLine(QPointF(at(*c.forecastDay, 0).x(), plot.top()),
                QPointF(at(*c.forecastDay, 0).x(), plot.bottom()));
        }
        p.restore();
        const QRectF labels(plot.left(), plot.bottom() + 2, plot.width(), row_);
        canvas_.text(labels, Qt::AlignLeft | Qt::AlignTop, dayLabel(x0), body_);
        canvas_.text(labels, Qt::AlignRight | Qt::AlignTop, dayLabel(x1), body_);
        canvas_.text(QRectF(kLeft, plot.top(), 43, row_), Qt::AlignRight | Qt::AlignTop,
            QString::number(y1, 'f', 0), body_);
        canvas_.text(QRectF(kLeft, plot.bottom() - row_, 43, row_), Qt::AlignRight | Qt::AlignBottom,
            QStringLiteral("0"), body_);
        canvas_.text(QRectF(plot.left() + 4, plot.top() + 2, plot.width() - 8, row_),
            Qt::AlignRight | Qt::AlignTop, q(c.forecastLabel), bold_);
        y_ += kChartHeight;
    }

private:
    std::vector<double> columnWidths(const std::vector<std::vector<std::string>>& cells) const
    {
        std::vector<double> widths;
        for (const auto& row : cells)
            for (std::size_t c = 0; c < row.size(); ++c) {
                const double w
                    = std::min(canvas_.textWidth(
                                   c < cells[0].size() && &row == &cells[0] ? bold_ : body_, q(row[c])),
                          260.0)
                    + 2 * kCellPad + 4;
                if (widths.size() <= c)
                    widths.push_back(w);
                else
                    widths[c] = std::max(widths[c], w);
            }
        // Narrow columns keep their width; the wide ones share what is left.
        const double page = kRight - kLeft;
        const double fair = page / static_cast<double>(widths.size());
        double narrow = 0, wide = 0;
        for (const double w : widths)
            (w <= fair ? narrow : wide) += w;
        const double scale = wide > 0 ? (page - narrow) / wide : page / std::max(narrow, 1.0);
        for (double& w : widths)
            if (w > fair || wide == 0)
                w *= scale;
        return widths;
    }

    double rowHeight(
        const std::vector<std::string>& cells, const std::vector<double>& widths, const QFont& font)
    {
        QPainter& p = canvas_.painter();
        p.setFont(font);
        double height = row_;
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            const QRectF box(0, 0, widths[c] - 2 * kCellPad - 2, 10000);
            height = std::max(
                height, p.boundingRect(box, Qt::TextWordWrap, q(cells[c])).height() + 2 * kCellPad);
        }
        return height;
    }

    void drawRow(
        const std::vector<std::string>& cells, const std::vector<double>& widths, bool heading, bool red)
    {
        const QFont& font = heading ? bold_ : body_;
        const double height = rowHeight(cells, widths, font);
        QPainter& p = canvas_.painter();
        double x = kLeft;
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            const QRectF box(x, y_, widths[c], height);
            p.setPen(QPen(Qt::black, 0.5));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box);
            p.setPen(red ? Qt::red : Qt::black);
            p.setFont(font);
            p.drawText(box.adjusted(kCellPad + 1, kCellPad, -kCellPad - 1, -kCellPad),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, q(cells[c]));
            x += widths[c];
        }
        y_ += height;
    }

    void drawHeading() override
    {
        if (page_ != 1)
            return;
        const QFont big = canvas_.font(FontFace::Arial, {12, true, false});
        const double h = canvas_.lineHeight(big);
        canvas_.text(
            QRectF(kLeft, y_, kRight - kLeft, h), Qt::AlignHCenter | Qt::AlignTop, q(content_.title), big);
        y_ += h + 2;
        canvas_.text(QRectF(kLeft, y_, kRight - kLeft, row_), Qt::AlignHCenter | Qt::AlignVCenter,
            QStringLiteral("составлен ") + q(content_.madeOn), body_);
        y_ += row_ + 6;
    }

    const analysis::CraneReportContent& content_;
};

}  // namespace

bool printCraneReport(QPagedPaintDevice& device, const analysis::CraneReportContent& content, int* pages)
{
    PageCanvas canvas(device);
    if (!canvas.isActive())
        return false;
    ReportPages report(canvas, content);
    report.startPage();
    report.identification();
    for (const analysis::ReportTable& t : content.tablesBeforeChart)
        report.table(t);
    report.chart(content.chart);
    for (const analysis::ReportTable& t : content.tablesAfterChart)
        report.table(t);
    report.finish();
    if (pages)
        *pages = report.pages();
    return canvas.finish();
}

Done writeCraneReportPdf(const std::string& path, const analysis::CraneReportContent& content)
{
    return writePdfFile(path, q(content.title),
        [&content](QPagedPaintDevice& device) { return printCraneReport(device, content); });
}

}  // namespace nkp::print
