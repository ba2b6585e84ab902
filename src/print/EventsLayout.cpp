#include "print/EventsLayout.h"

#include "analysis/EventsCsv.h"
#include "print/CardTexts.h"
#include "print/PageCanvas.h"
#include "print/PageFlow.h"

#include <QStringList>

#include <array>
#include <numeric>

namespace nkp::print {
namespace {

constexpr double kLeft = PageFlow::kLeft;
constexpr double kRight = PageFlow::kRight;

// Relative widths of the episode columns: the kind and the two date-times
// need the most room.
constexpr std::array kEpisodeWeights = {2.8, 0.9, 1.05, 0.8, 2.05, 2.05, 0.95, 0.9, 0.8, 0.9};

class EventsPages : public PageFlow {
public:
    EventsPages(PageCanvas& canvas, const screen::MainState& state)
        : PageFlow(canvas,
            QStringLiteral("События работы крана ") + fromCp1251(state.texts.craneModel)
                + QStringLiteral(" №") + fromCp1251(state.texts.craneNumber))
        , state_(state)
    {
    }

    void line(const QString& text)
    {
        ensureRoom(row_);
        canvas_.text(QRectF(kLeft, y_, kRight - kLeft, row_), Qt::AlignLeft | Qt::AlignVCenter, text, body_);
        y_ += row_;
    }

    // A table row over columns of the given widths; numbers align right.
    void row(const QStringList& cells, const std::vector<double>& widths, const std::vector<bool>& right,
        bool heading)
    {
        QPainter& p = canvas_.painter();
        const QFont& font = heading ? bold_ : body_;
        double height = row_;
        if (heading) {
            // Headings may wrap into three lines.
            height = 3 * canvas_.lineHeight(font) + 2 * kCellPad;
        }
        double x = kLeft;
        p.setPen(QPen(Qt::black, 0.5));
        p.setFont(font);
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const QRectF box(x, y_, widths[static_cast<std::size_t>(c)], height);
            p.drawRect(box);
            const QRectF inner = box.adjusted(kCellPad + 1, kCellPad, -kCellPad - 1, -kCellPad);
            if (heading) {
                p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, cells[c]);
            } else {
                const int align = (right[static_cast<std::size_t>(c)] ? Qt::AlignRight : Qt::AlignLeft)
                    | Qt::AlignVCenter;
                canvas_.text(inner, align, cells[c], font);
            }
            x += widths[static_cast<std::size_t>(c)];
        }
        y_ += height;
    }

    double rowHeight(bool heading) const
    {
        return heading ? 3 * canvas_.lineHeight(bold_) + 2 * kCellPad : row_;
    }
    void skip(double units) { y_ += units; }

private:
    void drawHeading() override
    {
        const QFont big = canvas_.font(FontFace::Arial, {12, true, false});
        const double h = canvas_.lineHeight(big);
        canvas_.text(QRectF(kLeft, y_, kRight - kLeft, h), Qt::AlignHCenter | Qt::AlignTop,
            QStringLiteral("События работы крана"), big);
        y_ += h + 2;
        for (const QString& text : {craneLine(state_), recorderLine(state_), readoutLine()}) {
            canvas_.text(
                QRectF(kLeft, y_, kRight - kLeft, row_), Qt::AlignHCenter | Qt::AlignVCenter, text, body_);
            y_ += row_;
        }
        y_ += 8;
    }

    QString readoutLine() const
    {
        QString text = QStringLiteral("показание ") + fromCp1251(state_.fileName);
        if (!state_.newestFrameTime.empty())
            text += QStringLiteral(", последний кадр ") + fromCp1251(state_.newestFrameTime);
        return text;
    }

    const screen::MainState& state_;
};

QStringList qtexts(const std::vector<std::string>& utf8Texts)
{
    QStringList out;
    for (const std::string& t : utf8Texts)
        out << QString::fromStdString(t);
    return out;
}

std::vector<double> scaledWidths(const auto& weights, double total)
{
    const double sum = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<double> widths;
    for (double w : weights)
        widths.push_back(total * w / sum);
    return widths;
}

void drawEpisodes(EventsPages& pages, const screen::MainState& state, const EventsReport& report, char sep)
{
    pages.title(QStringLiteral("Перечень событий"));
    const auto counts = analysis::countByKind(report.episodes);
    QString summary = QStringLiteral("Порог перегрузки %1 %. Эпизодов: %2")
                          .arg(report.overloadThreshold)
                          .arg(report.episodes.size());
    for (int k = 0; k < analysis::kEventKindCount; ++k)
        summary += (k == 0 ? QStringLiteral(" (") : QStringLiteral(", "))
            + fromCp1251(analysis::eventKindName(static_cast<analysis::EventKind>(k))) + QStringLiteral(": ")
            + QString::number(counts[static_cast<std::size_t>(k)]);
    pages.line(summary + QLatin1Char(')'));
    if (report.episodes.empty()) {
        pages.line(QStringLiteral("Событий нет."));
        return;
    }
    const table::Columns<analysis::Episode> columns = analysis::episodeColumns(state.frames);
    std::vector<double> weights(kEpisodeWeights.begin(), kEpisodeWeights.end());
    weights.resize(columns.size(), 1.0);
    const std::vector<double> widths = scaledWidths(weights, kRight - kLeft);
    std::vector<bool> right;
    for (const auto& column : columns)
        right.push_back(column.alignment == table::Alignment::Right);
    const QStringList headers = qtexts(table::headers(columns));
    pages.ensureRoom(pages.rowHeight(true) + pages.rowHeight(false));
    pages.row(headers, widths, right, true);
    for (const analysis::Episode& e : report.episodes) {
        // A table continued on the next page repeats its heading.
        if (pages.ensureRoom(pages.rowHeight(false)))
            pages.row(headers, widths, right, true);
        pages.row(qtexts(table::rowTexts(columns, e, sep)), widths, right, false);
    }
}

void drawSpectrum(EventsPages& pages, const EventsReport& report, char sep)
{
    const analysis::LoadSpectrum& s = report.spectrum;
    const std::vector<double> widths = {150, 90, 70};
    const std::vector<bool> right = {false, true, true};
    pages.skip(10);
    pages.title(QStringLiteral("Спектр нагрузки"));
    QStringList head
        = {QStringLiteral("Степень загрузки, %"), QStringLiteral("Кадров"), QStringLiteral("Доля, %")};
    pages.ensureRoom(pages.rowHeight(true) + (analysis::kSpectrumBandCount + 1) * pages.rowHeight(false));
    pages.row(head, widths, right, true);
    for (int b = 0; b < analysis::kSpectrumBandCount; ++b) {
        const int n = s.frames[static_cast<std::size_t>(b)];
        pages.row({fromCp1251(analysis::spectrumBandText(b)), QString::number(n),
                      fromCp1251(analysis::shareText(n, s.validFrames, sep))},
            widths, right, false);
    }
    pages.row({QStringLiteral("Всего"), QString::number(s.validFrames),
                  fromCp1251(analysis::shareText(s.validFrames, s.validFrames, sep))},
        widths, right, false);

    pages.skip(10);
    head = {QStringLiteral("Диапазон нагрузок"), QStringLiteral("Рабочие циклы"), QStringLiteral("Доля, %")};
    pages.ensureRoom(pages.rowHeight(true) + (s.cycles.size() + 1) * pages.rowHeight(false));
    pages.row(head, widths, right, true);
    for (std::size_t b = 0; b < s.cycles.size(); ++b)
        pages.row({fromCp1251(analysis::cycleBandText(b)), QString::number(s.cycles[b]),
                      fromCp1251(analysis::shareText(s.cycles[b], s.totalCycles, sep))},
            widths, right, false);
    pages.row({QStringLiteral("Всего"), QString::number(s.totalCycles),
                  fromCp1251(analysis::shareText(s.totalCycles, s.totalCycles, sep))},
        widths, right, false);
}

}  // namespace

EventsReport eventsReport(const screen::MainState& state, int overloadThreshold)
{
    EventsReport report;
    report.overloadThreshold = overloadThreshold;
    report.episodes = analysis::findEpisodes(state.frames, state.RingStart, overloadThreshold);
    report.spectrum = analysis::loadSpectrum(state.frames, state.readout.cycleCounts);
    return report;
}

int drawEventsReport(
    PageCanvas& canvas, const screen::MainState& state, const EventsReport& report, char decimalSeparator)
{
    EventsPages pages(canvas, state);
    pages.startPage();
    drawEpisodes(pages, state, report, decimalSeparator);
    drawSpectrum(pages, report, decimalSeparator);
    pages.finish();
    return pages.pages();
}

}  // namespace nkp::print
