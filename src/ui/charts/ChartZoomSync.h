#pragma once

#include <qcustomplot.h>

#include <QList>
#include <QObject>
#include <QPointer>

#include <optional>

// Keeps the x ranges of several charts in step: zooming or panning one moves
// the others to the same range. Every range is held inside the data range
// and no narrower than a minimum width; a double-click on any chart shows the
// whole data range on all of them again. The value axes are left alone.
class ChartZoomSync : public QObject {
    Q_OBJECT
public:
    explicit ChartZoomSync(QObject* parent = nullptr);

    void addChart(QCustomPlot* chart);

    // The data range the x ranges are held in (nothing: any range goes), and
    // shows it whole on every chart.
    void setFullRange(std::optional<QCPRange> full);
    std::optional<QCPRange> fullRange() const { return full_; }
    // Shows the whole data range on every chart.
    void resetZoom();

    // `range` moved into `full` and widened to `minWidth` (or `full`'s width
    // when that is less); a range wider than `full` becomes `full`.
    static QCPRange bounded(const QCPRange& range, const QCPRange& full, double minWidth);

    static constexpr double kMinWidth = 10;  // frames

private:
    void follow(const QCPRange& range);
    void apply(const QCPRange& range);

    QList<QPointer<QCustomPlot>> charts_;
    std::optional<QCPRange> full_;
    bool applying_ = false;  // breaks the loop of rangeChanged signals we cause ourselves
};
