#include "ui/charts/ChartZoomSync.h"

#include <algorithm>

ChartZoomSync::ChartZoomSync(QObject* parent)
    : QObject(parent)
{
}

void ChartZoomSync::addChart(QCustomPlot* chart)
{
    charts_.append(chart);
    connect(chart->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        [this](const QCPRange& range) { follow(range); });
    connect(chart, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent* event) {
        if (event->button() == Qt::LeftButton)
            resetZoom();
    });
}

void ChartZoomSync::setFullRange(std::optional<QCPRange> full)
{
    full_ = full;
    resetZoom();
}

void ChartZoomSync::resetZoom()
{
    if (full_)
        apply(*full_);
}

QCPRange ChartZoomSync::bounded(const QCPRange& range, const QCPRange& full, double minWidth)
{
    const double width = std::clamp(range.size(), std::min(minWidth, full.size()), full.size());
    const double centre = range.center();
    // max after min: rounding may leave full.upper - width a hair below full.lower.
    const double lower = std::max(full.lower, std::min(centre - width / 2, full.upper - width));
    return QCPRange(lower, lower + width);
}

void ChartZoomSync::follow(const QCPRange& range)
{
    if (!applying_)
        apply(full_ ? bounded(range, *full_, kMinWidth) : range);
}

void ChartZoomSync::apply(const QCPRange& range)
{
    applying_ = true;
    for (const QPointer<QCustomPlot>& chart : std::as_const(charts_)) {
        if (!chart || chart->xAxis->range() == range)
            continue;
        chart->xAxis->setRange(range);
        // Queued: a burst of wheel or drag steps costs one repaint per frame.
        chart->replot(QCustomPlot::rpQueuedReplot);
    }
    applying_ = false;
}
