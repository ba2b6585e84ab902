// The main window with a generated read-out: opening through the menu until
// both charts and the table are painted, one scroll step of the table, and
// one zoom or pan step of the charts, in the run's application (main.cpp).
#include "Controls.h"
#include "generator/ReadoutGenerator.h"
#include "ui/charts/ChartsTab.h"
#include "ui/charts/FrameChart.h"
#include "ui/main/FramesTab.h"
#include "ui/main/Tpb140_nkp3_main.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <algorithm>

using nkp::test::control;

namespace {

// Answers every open dialog with one file.
class OpenPrompts : public nkp::UserPrompts {
public:
    std::string path;
    void information(const std::string&, const std::string&) override { }
    bool warningOkCancel(const std::string&, const std::string&) override { return true; }
    SaveChoice saveDiscardCancel(const std::string&, const std::string&) override
    {
        return SaveChoice::Cancel;
    }
    void error(const std::string&, const std::string&) override { }
    std::optional<std::string> openFile(const FileDialog&) override { return path; }
    std::optional<std::string> saveFile(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
};

struct Demo {
    QTemporaryDir dir;
    OpenPrompts prompts;
    Demo()
    {
        const std::vector<std::uint8_t> bytes = nkp::generator::generateDataFile({});
        QFile f(dir.filePath(QStringLiteral("demo.nkp")));
        if (f.open(QIODevice::WriteOnly))
            f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        prompts.path = QFile::encodeName(f.fileName()).toStdString();
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double elapsedMs(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void paintCharts(ChartsTab& charts)
{
    benchmark::DoNotOptimize(control<FrameChart>(charts, "Chart_Param")->grab());
    benchmark::DoNotOptimize(control<FrameChart>(charts, "Chart_KZ")->grab());
}

void BM_OpenUntilPainted(benchmark::State& state)
{
    Demo demo;
    TForm_TPB140CMain window(demo.prompts, demo.dir.path(), ',');
    window.show();
    QCoreApplication::processEvents();
    std::vector<double> total, charts;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        control<QAction>(window, "Menu_OpenSTN3")->trigger();
        paintCharts(*control<ChartsTab>(window, "TabSheet_Grafik"));
        control<QTableView>(*control<FramesTab>(window, "TabSheet_Cikl"), "StringGrid_O_Otb")
            ->viewport()
            ->repaint();
        total.push_back(elapsedMs(t));

        // The chart library's part of the same work: handing over the series,
        // drawing them and painting both charts.
        t.restart();
        control<ChartsTab>(window, "TabSheet_Grafik")->showCharts(window.state().charts);
        paintCharts(*control<ChartsTab>(window, "TabSheet_Grafik"));
        charts.push_back(elapsedMs(t));
    }
    state.counters["median_ms"] = median(total);
    state.counters["charts_median_ms"] = median(charts);
    state.counters["charts_share"] = median(charts) / std::max(median(total), 1e-9);
}
BENCHMARK(BM_OpenUntilPainted)->Iterations(10)->Unit(benchmark::kMillisecond);

// One render of the coordinate-protection chart, the one with the most points.
void BM_KzChartReplot(benchmark::State& state)
{
    Demo demo;
    TForm_TPB140CMain window(demo.prompts, demo.dir.path(), ',');
    window.show();
    control<QTabWidget>(window, "PageControl_Main")
        ->setCurrentWidget(control<ChartsTab>(window, "TabSheet_Grafik"));
    control<QTabWidget>(*control<ChartsTab>(window, "TabSheet_Grafik"), "PageControl_Grafik")
        ->setCurrentWidget(control<QWidget>(*control<ChartsTab>(window, "TabSheet_Grafik"), "TabSheet_KZ"));
    control<QAction>(window, "Menu_OpenSTN3")->trigger();
    QCoreApplication::processEvents();
    for (auto _ : state)
        control<FrameChart>(*control<ChartsTab>(window, "TabSheet_Grafik"), "Chart_KZ")
            ->replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_KzChartReplot)->Unit(benchmark::kMillisecond);

void BM_TableScrollRepaint(benchmark::State& state)
{
    Demo demo;
    TForm_TPB140CMain window(demo.prompts, demo.dir.path(), ',');
    window.show();
    control<QAction>(window, "Menu_OpenSTN3")->trigger();
    QCoreApplication::processEvents();
    QScrollBar* bar = control<QScrollBar>(*control<FramesTab>(window, "TabSheet_Cikl"), "ScrollBar_Cikl");
    int step = -1;
    for (auto _ : state) {
        if (bar->value() == 0 || bar->value() == bar->maximum())
            step = -step;
        bar->setValue(bar->value() + step);
        control<QTableView>(*control<FramesTab>(window, "TabSheet_Cikl"), "StringGrid_O_Otb")
            ->viewport()
            ->repaint();
    }
}
BENCHMARK(BM_TableScrollRepaint)->Unit(benchmark::kMicrosecond);

// Renders both charts now, as the queued replot after a zoom or pan step does.
void replotCharts(ChartsTab& charts)
{
    control<FrameChart>(charts, "Chart_Param")->replot(QCustomPlot::rpImmediateRefresh);
    control<FrameChart>(charts, "Chart_KZ")->replot(QCustomPlot::rpImmediateRefresh);
}

// Runs `step` (which moves the x range) and the render of both charts per
// iteration; reports the median and worst step.
template <typename Step> void measureChartSteps(benchmark::State& state, Step step)
{
    Demo demo;
    TForm_TPB140CMain window(demo.prompts, demo.dir.path(), ',');
    window.show();
    control<QTabWidget>(window, "PageControl_Main")
        ->setCurrentWidget(control<ChartsTab>(window, "TabSheet_Grafik"));
    control<QAction>(window, "Menu_OpenSTN3")->trigger();
    QCoreApplication::processEvents();
    ChartsTab& charts = *control<ChartsTab>(window, "TabSheet_Grafik");
    // Lay out the coordinate-protection page once, so that its chart renders
    // at full size although the parameter page is in front.
    control<QTabWidget>(charts, "PageControl_Grafik")
        ->setCurrentWidget(control<QWidget>(charts, "TabSheet_KZ"));
    QCoreApplication::processEvents();
    control<QTabWidget>(charts, "PageControl_Grafik")
        ->setCurrentWidget(control<QWidget>(charts, "TabSheet_Param"));
    QCoreApplication::processEvents();
    std::vector<double> times;
    int i = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        step(charts, i++);
        replotCharts(charts);
        times.push_back(elapsedMs(t));
    }
    state.counters["median_ms"] = median(times);
    state.counters["worst_ms"] = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
}

// Wheel steps on the parameter chart: 20 in towards a frame, then 20 out to
// the whole read-out, the mouse at a new place each time.
void BM_ChartZoomRepaint(benchmark::State& state)
{
    measureChartSteps(state, [](ChartsTab& charts, int i) {
        FrameChart* chart = control<FrameChart>(charts, "Chart_Param");
        const QRect plot = chart->axisRect()->rect();
        const QPointF at(plot.left() + (i * 37) % plot.width(), plot.center().y());
        const int direction = (i / 20) % 2 == 0 ? 1 : -1;
        QWheelEvent wheel(at, chart->mapToGlobal(at), QPoint(), QPoint(0, 120 * direction), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(chart, &wheel);
    });
}
BENCHMARK(BM_ChartZoomRepaint)->Iterations(400)->Unit(benchmark::kMillisecond);

// Pan steps of 40 frames over a 2000-frame window, back and forth through
// the read-out.
void BM_ChartPanRepaint(benchmark::State& state)
{
    measureChartSteps(state, [](ChartsTab& charts, int i) {
        constexpr int kWidth = 2000, kStep = 40, kSteps = (10999 - kWidth) / kStep;
        const int leg = i % (2 * kSteps);
        const double lower = kStep * (leg < kSteps ? leg : 2 * kSteps - leg);
        control<FrameChart>(charts, "Chart_Param")->xAxis->setRange(lower, lower + kWidth);
    });
}
BENCHMARK(BM_ChartPanRepaint)->Iterations(400)->Unit(benchmark::kMillisecond);

}  // namespace
