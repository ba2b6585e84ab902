#include "print/AppendixLayout.h"

#include "print/CardTexts.h"
#include "print/PageCanvas.h"
#include "print/Signature.h"

#include <qcustomplot.h>

#include <QPicture>

namespace nkp::print {
namespace {

constexpr double kMargin = mm(10);
constexpr int kChartWidth = 721;
constexpr int kChartHeight = 401;

struct Curve {
    const std::vector<double>* values;
    QColor colour;
    int width;
};

struct PrintedChart {
    QString caption;
    QString leftAxisTitle;
    std::vector<Curve> curves;
};

QVector<double> toVector(const std::vector<double>& v)
{
    return QVector<double>(v.begin(), v.end());
}

// Draws the chart with QCustomPlot into a picture of 721 × 401 units and
// plays it back on the page, so that it stays vector graphics on paper (the
// page's painter is busy with the device, QCustomPlot needs a painter of its own).
void drawChart(PageCanvas& canvas, const QRectF& box, const PrintedChart& chart, const std::vector<double>& x)
{
    QCustomPlot plot;
    plot.setAttribute(Qt::WA_DontShowOnScreen);
    plot.resize(kChartWidth, kChartHeight);
    plot.legend->setVisible(false);
    plot.setBackground(Qt::white);

    QPicture picture;
    const int dpi = picture.logicalDpiY() > 0 ? picture.logicalDpiY() : 96;
    const QFont tickFont = pageFont(FontFace::Arial, {8, false, false}, dpi);
    const QFont labelFont = pageFont(FontFace::Arial, {8, true, false}, dpi);
    for (QCPAxis* axis : {plot.xAxis, plot.yAxis}) {
        axis->setTickLabelFont(tickFont);
        axis->setLabelFont(labelFont);
    }
    plot.xAxis->setLabel(QStringLiteral("Кадры"));
    plot.yAxis->setLabel(chart.leftAxisTitle);

    const QVector<double> keys = toVector(x);
    for (const Curve& curve : chart.curves) {
        QCPGraph* graph = plot.addGraph();
        graph->setPen(QPen(curve.colour, curve.width));
        graph->setData(keys, toVector(*curve.values), true);
    }
    plot.rescaleAxes();
    if (x.empty())
        plot.xAxis->setRange(0, 1);
    // A little room above and below, so that a flat line stays visible.
    const QCPRange values = plot.yAxis->range();
    const double pad = std::max(1.0, values.size() * 0.05);
    plot.yAxis->setRange(values.lower - pad, values.upper + pad);

    {
        QCPPainter painter(&picture);
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        plot.toPainter(&painter, kChartWidth, kChartHeight);
    }

    // A picture plays back scaled from its own resolution (1/96 inch, our
    // units) to the device's, so it is placed in device coordinates.
    QPainter& p = canvas.painter();
    const QPointF origin = p.transform().map(box.topLeft());
    p.save();
    p.resetTransform();
    p.drawPicture(origin, picture);
    p.restore();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
}

}  // namespace

void drawAppendixPage(
    PageCanvas& canvas, const screen::MainState& state, const AppendixSeries& series, AppendixPage page)
{
    const double left = kMargin;
    const double width = kPageWidth - 2 * kMargin;
    const QFont appendix = canvas.font(FontFace::Arial, {12, true, true});
    const QFont title = canvas.font(FontFace::Arial, {18, true, true});
    const QFont subtitle = canvas.font(FontFace::Arial, {12, true, true});
    const QFont caption = canvas.font(FontFace::Arial, {8, true, false});

    const bool first = page == AppendixPage::LoadAndMass;
    double y = kMargin;
    canvas.text(QRectF(left, y, width, canvas.lineHeight(appendix)), Qt::AlignRight | Qt::AlignTop,
        first ? QStringLiteral("Приложение 1") : QStringLiteral("Приложение 2"), appendix);
    y += 22;
    const auto centred = [&](const QString& text, const QFont& font, double advance) {
        canvas.text(
            QRectF(left, y, width, canvas.lineHeight(font)), Qt::AlignHCenter | Qt::AlignTop, text, font);
        y += advance;
    };
    centred(QStringLiteral("Оперативная информация"), title, 32);
    centred(recorderLine(state), subtitle, 21);  // QRL_trv1 / QRL_trv2
    centred(craneLine(state), subtitle, 28);     // QRL_kran1 / QRL_kran2

    const QColor red(255, 0, 0), green(0, 128, 0);
    const std::vector<PrintedChart> charts = first
        ? std::vector<PrintedChart> {{QStringLiteral("График изменения степени загрузки крана"),  // QRChart_M
                                         QStringLiteral("M %"),
                                         {{&series.limit, red, 2}, {&series.load, green, 1}}},
            {QStringLiteral("График изменения массы груза на крюке"),  // QRChart_Q
                QStringLiteral("Q т."), {{&series.mass, red, 1}}}}
        : std::vector<PrintedChart> {{QStringLiteral("График изменения длины стрелы крана"),  // QRChart_L
                                         QStringLiteral("L м."), {{&series.boom, red, 1}}},
            {QStringLiteral("График изменения вылета крана"),  // QRChart_R
                QStringLiteral("R м."), {{&series.radius, red, 1}}}};

    const double chartLeft = (kPageWidth - kChartWidth) / 2;
    for (const PrintedChart& chart : charts) {
        centred(chart.caption, caption, 15);
        drawChart(canvas, QRectF(chartLeft, y, kChartWidth, kChartHeight), chart, series.x);
        y += kChartHeight + 10;
    }

    drawSignatureBlock(canvas, left, kPageHeight - kMargin - 60, fromCp1251(state.texts.engineerName));
}

}  // namespace nkp::print
