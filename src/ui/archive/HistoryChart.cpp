#include "ui/archive/HistoryChart.h"

#include <algorithm>
#include <cmath>

namespace nkp::ui {
namespace {

constexpr double kDay = 86400.0;

// Seconds since the epoch of a moment, for the date axis.
double chartTime(const base::DateTime& m)
{
    return archive::dayNumber(m) * kDay;
}

QCPItemText* textItem(QCustomPlot* plot, Qt::Alignment alignment, double x, double y)
{
    auto* item = new QCPItemText(plot);
    item->setClipToAxisRect(false);
    item->position->setType(QCPItemPosition::ptAxisRectRatio);
    item->position->setCoords(x, y);
    item->setPositionAlignment(alignment);
    item->setPadding(QMargins(4, 2, 4, 2));
    return item;
}

}  // namespace

HistoryChart::HistoryChart(QWidget* parent)
    : QCustomPlot(parent)
{
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("dd.MM.yyyy"));
    ticker->setDateTimeSpec(Qt::UTC);
    ticker->setTickCount(4);
    xAxis->setTicker(ticker);
    yAxis->setLabel(QStringLiteral("Накопленное число"));
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);

    hint_ = textItem(this, Qt::AlignCenter, 0.5, 0.5);
    hint_->setColor(palette().color(QPalette::PlaceholderText));
    QFont font = hint_->font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    hint_->setFont(font);
    forecast_ = textItem(this, Qt::AlignBottom | Qt::AlignRight, 0.99, 0.98);
    forecast_->setBrush(QBrush(QColor(255, 255, 255, 220)));
    forecast_->setColor(Qt::darkGreen);
    forecastLine_ = new QCPItemStraightLine(this);
    forecastLine_->setPen(QPen(Qt::darkGreen, 1, Qt::DotLine));
    showTrend(nullptr);
}

void HistoryChart::showTrend(const archive::CraneTrend* trend)
{
    trend_ = trend ? std::optional(*trend) : std::nullopt;
    redraw();
}

void HistoryChart::setWholeHorizon(bool whole)
{
    wholeHorizon_ = whole;
    redraw();
}

QString HistoryChart::hint() const
{
    return hint_->visible() ? hint_->text() : QString();
}

QString HistoryChart::forecastLabel() const
{
    return forecast_->visible() ? forecast_->text() : QString();
}

void HistoryChart::showHint(const QString& text)
{
    // No axes, dates or legend: nothing that suggests data.
    xAxis->setVisible(false);
    yAxis->setVisible(false);
    legend->setVisible(false);
    forecast_->setVisible(false);
    forecastLine_->setVisible(false);
    hint_->setText(text);
    hint_->setVisible(true);
    replot();
}

void HistoryChart::redraw()
{
    clearGraphs();
    if (!trend_) {
        showHint(QStringLiteral("Выберите кран"));
        return;
    }
    const archive::CraneTrend& t = *trend_;
    QVector<double> x, y;
    for (const archive::HistoryPoint& p : t.points)
        if (p.input.moment && std::isfinite(p.accumulated)) {
            x << chartTime(*p.input.moment);
            y << p.accumulated;
        }
    if (x.isEmpty()) {
        showHint(QStringLiteral("Нет чтений с датой считывания"));
        return;
    }
    hint_->setVisible(false);
    xAxis->setVisible(true);
    yAxis->setVisible(true);
    legend->setVisible(true);

    QCPGraph* points = addGraph();
    points->setName(QStringLiteral("Накопленное число"));
    points->setData(x, y, true);
    points->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 6));

    // The read-outs take the width; a sixth more shows where the trend heads.
    const double first = x.front(), last = x.back();
    const double span = std::max(last - first, 60 * kDay);
    double left = first - span * 0.03, right = last + span * 0.2;
    // NaN without a forecast date.
    const double forecastAt = t.forecastDate ? chartTime(*t.forecastDate) : std::nan("");
    if (wholeHorizon_) {
        const double end = std::isfinite(forecastAt) ? forecastAt : last + 3652.5 * kDay;
        right = std::max(right, end + (end - first) * 0.03);
    }
    double top = *std::max_element(y.begin(), y.end());
    if (t.slopePerDay && *t.slopePerDay > 0 && t.newest < t.points.size()
        && t.points[t.newest].input.moment) {
        const double start = chartTime(*t.points[t.newest].input.moment);
        const double end = std::max(start, std::isfinite(forecastAt) ? std::min(forecastAt, right) : right);
        const double atEnd = t.accumulated + *t.slopePerDay * (end - start) / kDay;
        QCPGraph* trend = addGraph();
        trend->setName(QStringLiteral("Тренд"));
        trend->setPen(QPen(Qt::darkGreen, 1.5, Qt::DashLine));
        trend->setData({start, end}, {t.accumulated, atEnd});
        top = std::max(top, atEnd);
    }
    // The normative line is drawn over the whole horizon, or when it is near
    // enough not to flatten the read-outs; else the label names it.
    const bool normativeShown = t.normativeNumber > 0 && (wholeHorizon_ || t.normativeNumber <= top * 1.5);
    if (normativeShown) {
        QCPGraph* norm = addGraph();
        norm->setName(QStringLiteral("Нормативное число"));
        norm->setPen(QPen(Qt::red, 1.5));
        norm->setData({left, right}, {double(t.normativeNumber), double(t.normativeNumber)});
        top = std::max(top, double(t.normativeNumber));
    }
    xAxis->setRange(left, right);
    yAxis->setRange(0, top > 0 ? top * 1.08 : 1);

    QString label = QStringLiteral("Прогноз: ") + QString::fromStdString(archive::forecastText(t));
    if (t.normativeNumber > 0 && !normativeShown)
        label += QStringLiteral("\nНормативное число: %1").arg(t.normativeNumber);
    forecast_->setText(label);
    forecast_->setVisible(true);
    const bool lineShown = std::isfinite(forecastAt) && forecastAt >= left && forecastAt <= right;
    forecastLine_->setVisible(lineShown);
    if (lineShown) {
        forecastLine_->point1->setCoords(forecastAt, 0);
        forecastLine_->point2->setCoords(forecastAt, 1);
    }
    replot();
}

}  // namespace nkp::ui
