#pragma once

#include "screen/ChartData.h"

#include <qcustomplot.h>

#include <QHash>
#include <QSet>

#include <functional>
#include <optional>
#include <vector>

// A chart of frame series (x = chronological position). Takes the series
// data of analysis in bulk: a series whose points carry two colours becomes
// one graph per colour, point labels become text items. Built for 11000-point
// series: pixmap markers, fast polylines, no antialiasing of the data.
// The wheel zooms and a drag pans the x axis only; hovering names the frame
// under the mouse in a tooltip.
class FrameChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit FrameChart(const QString& title, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const;

    // Replaces every series. Series whose id is in `pointSeries` are drawn as
    // points (circles), the others as lines.
    void setSeries(const std::vector<nkp::screen::SeriesData>& series, const QSet<QString>& pointSeries);

    // Shows or hides a series with its graphs and labels; rescales the
    // value axis unless it is fixed.
    void setSeriesVisible(const QString& id, bool visible);
    bool isSeriesVisible(const QString& id) const;
    // The graphs drawn for series `id` (one per colour).
    QList<QCPGraph*> graphsOf(const QString& id) const { return graphs_.value(id); }
    QList<QCPItemText*> labelsOf(const QString& id) const { return labels_.value(id); }

    // Fixes the value axis to [lower, upper]; otherwise it follows the visible data.
    void setFixedValueRange(double lower, double upper);
    // The x range of all data, or nothing without data.
    std::optional<QCPRange> keyRange() const;
    // Lets the key axis follow the data again.
    void rescaleKeyAxis();
    void rescaleValueAxis();

    // The x of the visible data point nearest to `pos` (widget coordinates)
    // within the selection tolerance, or nothing.
    std::optional<double> pointXAt(const QPointF& pos) const;

    // The date and time of the frame at a chronological position, empty when
    // it has none. The chart only asks; the frames belong to its owner.
    using FrameStampLookup = std::function<QString(int position)>;
    void setFrameStampLookup(FrameStampLookup lookup) { frameStamp_ = std::move(lookup); }
    // The hover text at `pos` (widget coordinates): the frame position under
    // the mouse and that frame's date and time; empty outside the plot area.
    QString toolTipAt(const QPointF& pos) const;

signals:
    // A click (not a drag) on a data point: the point's x value.
    void pointClicked(double x);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void addGraph(
        const QString& id, const QString& name, QColor color, bool points, const QVector<QCPGraphData>& data);

    QCPTextElement* title_ = nullptr;
    QHash<QString, QList<QCPGraph*>> graphs_;
    QHash<QString, QList<QCPItemText*>> labels_;
    std::optional<QCPRange> fixedValueRange_;
    QPointF pressPos_;
    bool dragged_ = false;  // the left button moved the mouse since the press
    FrameStampLookup frameStamp_;
};
