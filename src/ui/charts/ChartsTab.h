#pragma once

#include "screen/ChartData.h"
#include "screen/MainState.h"

#include <QWidget>

class ChartZoomSync;
class FrameChart;
class QCheckBox;
class QFrame;
class QLabel;
class QTabWidget;

// The tab "Циклическая информация (графики)": the parameter chart with its
// checkboxes (which serve as its legend) and the coordinate-protection chart.
// Both charts zoom and pan together on x; hovering names the frame's date
// and time from `state`.
class ChartsTab : public QWidget {
    Q_OBJECT
public:
    explicit ChartsTab(const nkp::screen::MainState& state, QWidget* parent = nullptr);

    // Fills both charts from the loaded data and applies the checkboxes.
    void showCharts(const nkp::screen::ChartsData& charts);
    ChartZoomSync* zoomSync() const { return zoomSync_; }
    // Fits the parameter chart's time axis to its data anew (after the frames went).
    void refitTimeAxis();
    // Marks the frames first..last on both charts (one mark per chart).
    void markFrames(int first, int last);

public slots:
    // Applies the five checkboxes to the series' visibility.
    void CheckBox_GrParClick();

signals:
    // A click on a point of Chart_Param: the point's x value.
    void paramPointClicked(double x);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTabWidget* PageControl_Grafik = nullptr;
    QWidget* TabSheet_Param = nullptr;
    QWidget* TabSheet_KZ = nullptr;
    FrameChart* Chart_Param = nullptr;
    FrameChart* Chart_KZ = nullptr;
    QFrame* Panel6 = nullptr;
    QLabel* Label100 = nullptr;
    QCheckBox *CheckBox_GrParM = nullptr, *CheckBox_GrParQ = nullptr, *CheckBox_GrParR = nullptr;
    QCheckBox *CheckBox_GrParL = nullptr, *CheckBox_Data = nullptr;

    QWidget* buildParamPage();
    QWidget* buildKzPage();
    QCheckBox* checkBox(const char* name, const QString& caption, QColor colour, bool checked);
    QString frameStamp(int position) const;

    const nkp::screen::MainState& state_;
    ChartZoomSync* zoomSync_ = nullptr;
};
