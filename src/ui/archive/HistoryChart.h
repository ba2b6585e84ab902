#pragma once

#include "archive/CraneHistory.h"

#include <qcustomplot.h>

// The chart of a crane's accumulated characteristic number: its read-outs
// across the width, the trend from the newest one, the normative number, and
// the forecast as a marked date with its label. Over the whole horizon the
// chart runs on to the forecast date. Without a crane it shows only a hint.
namespace nkp::ui {

class HistoryChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit HistoryChart(QWidget* parent = nullptr);

    // The crane's trend, or the empty state ("Выберите кран") for none.
    void showTrend(const archive::CraneTrend* trend);
    // Whether the x axis runs on to the forecast date (and the normative number).
    void setWholeHorizon(bool whole);
    bool wholeHorizon() const { return wholeHorizon_; }

    // The text shown in the middle: the empty state's hint, or "" when the chart shows data.
    QString hint() const;
    // The forecast's label ("Прогноз: 12.03.2031", "Прогноз: мало данных", ...), "" without a crane.
    QString forecastLabel() const;

private:
    void redraw();
    void showHint(const QString& text);

    std::optional<archive::CraneTrend> trend_;
    bool wholeHorizon_ = false;
    QCPItemText* hint_ = nullptr;
    QCPItemText* forecast_ = nullptr;
    QCPItemStraightLine* forecastLine_ = nullptr;
};

}  // namespace nkp::ui
