// Zoom, pan and hover on the two charts of the main window: the x ranges move
// together and stay inside the data, value axes stay, a drag is no click, and
// the hover text names the frame's date and time.
#include "Controls.h"
#include "MainWindowFixture.h"
#include "analysis/FrameFieldTexts.h"

#include "ui/charts/ChartZoomSync.h"
#include "ui/charts/ChartsTab.h"
#include "ui/charts/FrameChart.h"
#include "ui/common/UiText.h"
#include "ui/main/FramesTab.h"

#include <QAction>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolTip>
#include <QWheelEvent>

using nkp::test::control;

using nkp::ui::fromCp1251;

namespace {

// A window with the demo read-out, showing the parameter chart.
struct ChartsFixture : MainWindowFixture {
    ChartsTab* tab = nullptr;
    FrameChart* param = nullptr;
    FrameChart* kz = nullptr;

    ChartsFixture()
    {
        openDemo();
        tab = control<ChartsTab>(*window, "TabSheet_Grafik");
        param = control<FrameChart>(*tab, "Chart_Param");
        kz = control<FrameChart>(*tab, "Chart_KZ");
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("window not exposed");
        control<QTabWidget>(*window, "PageControl_Main")->setCurrentWidget(tab);
        QCoreApplication::processEvents();
        param->replot();
    }

    // A point in the plot area at frame position `x`, away from every data point.
    QPoint emptyAt(FrameChart* chart, double x) const
    {
        return QPoint(qRound(chart->xAxis->coordToPixel(x)), chart->axisRect()->rect().top() + 2);
    }
};

void wheel(QWidget* w, QPoint pos, int steps)
{
    QWheelEvent event(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, 120 * steps), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// Press at `from`, move through `path`, release at its end.
void drag(QWidget* w, QPoint from, std::initializer_list<QPoint> path)
{
    mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    QPoint at = from;
    for (QPoint p : path)
        mouse(w, QEvent::MouseMove, at = p, Qt::NoButton, Qt::LeftButton);
    mouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

bool sameRange(const QCPRange& a, const QCPRange& b)
{
    return qFuzzyCompare(a.lower + 1, b.lower + 1) && qFuzzyCompare(a.upper + 1, b.upper + 1);
}

}  // namespace

class TestChartZoom : public QObject {
    Q_OBJECT
private slots:
    void wheelZoomsXOfBothCharts();
    void dragPansBothAndIsNoClick();
    void doubleClickResetsBoth();
    void hoverNamesFrameDateAndTime();
};

void TestChartZoom::wheelZoomsXOfBothCharts()
{
    ChartsFixture f;
    const QCPRange full = f.param->xAxis->range();
    QCOMPARE(full, QCPRange(0, 10999));
    QCOMPARE(f.tab->zoomSync()->fullRange(), std::optional<QCPRange>(full));
    QCOMPARE(f.kz->xAxis->range(), full);
    const QCPRange paramY = f.param->yAxis->range();
    QCOMPARE(f.kz->yAxis->range(), QCPRange(0, 5));

    // One step in: narrower, around the frame under the mouse, both charts alike.
    const QPoint at = f.emptyAt(f.param, 3000);
    const double under = f.param->xAxis->pixelToCoord(at.x());
    wheel(f.param, at, 1);
    const QCPRange zoomed = f.param->xAxis->range();
    QVERIFY(zoomed.size() < full.size() * 0.9);
    QVERIFY(qAbs(f.param->xAxis->pixelToCoord(at.x()) - under) < 1e-6);
    QCOMPARE(f.kz->xAxis->range(), zoomed);
    QCOMPARE(f.param->yAxis->range(), paramY);
    QCOMPARE(f.kz->yAxis->range(), QCPRange(0, 5));

    // Far in: no narrower than ten frames; the ticks stay on whole frames.
    wheel(f.param, at, 60);
    QCOMPARE(f.param->xAxis->range().size(), ChartZoomSync::kMinWidth);
    QVERIFY(qAbs(f.param->xAxis->range().center() - under) < 1);
    QCOMPARE(f.kz->xAxis->range(), f.param->xAxis->range());
    f.param->replot();
    QVERIFY(f.param->xAxis->tickVector().size() >= 2);
    for (double tick : f.param->xAxis->tickVector())
        QCOMPARE(tick, std::round(tick));
    for (const QString& label : f.param->xAxis->tickVectorLabels())
        QVERIFY2(!label.contains(QLatin1Char('.')) && !label.contains(QLatin1Char(',')), qPrintable(label));

    // Far out from near an end: never beyond the data.
    wheel(f.param, f.emptyAt(f.param, under + 4), -80);
    QCOMPARE(f.param->xAxis->range(), full);
    QCOMPARE(f.kz->xAxis->range(), full);
    QCOMPARE(f.param->yAxis->range(), paramY);
}

void TestChartZoom::dragPansBothAndIsNoClick()
{
    ChartsFixture f;
    control<QCheckBox>(*f.tab, "CheckBox_Data")->click();  // date points to click on
    f.param->replot();
    QSignalSpy clicks(f.param, &FrameChart::pointClicked);
    wheel(f.param, f.emptyAt(f.param, 5000), 8);
    f.param->replot();
    const QCPRange before = f.param->xAxis->range();
    const double perPixel = before.size() / f.param->axisRect()->width();

    // Dragging to the right by 100 pixels shows earlier frames, on both charts.
    const QPoint from = f.emptyAt(f.param, 5000);
    drag(f.param, from, {from + QPoint(50, 0), from + QPoint(100, 0)});
    const QCPRange panned = f.param->xAxis->range();
    QVERIFY(qAbs(panned.lower - (before.lower - 100 * perPixel)) < 2 * perPixel);
    QVERIFY(sameRange(QCPRange(panned.size(), 0), QCPRange(before.size(), 0)));
    QCOMPARE(f.kz->xAxis->range(), panned);
    QCOMPARE(f.kz->yAxis->range(), QCPRange(0, 5));

    // Not beyond the oldest frame.
    f.param->replot();
    const QPoint start = f.emptyAt(f.param, panned.center());
    drag(f.param, start, {start + QPoint(f.param->axisRect()->width() * 20, 0)});
    QCOMPARE(f.param->xAxis->range().lower, 0.0);
    QVERIFY(sameRange(QCPRange(f.param->xAxis->range().size(), 0), QCPRange(before.size(), 0)));
    QCOMPARE(f.kz->xAxis->range(), f.param->xAxis->range());
    QCOMPARE(clicks.count(), 0);

    // On a date point: a drag that comes back to where it began is no click,
    // a press and release is one.
    f.param->replot();
    QCPGraph* dates = f.param->graphsOf(QStringLiteral("Series3")).constFirst();
    const double key = dates->data()->at(0)->key;
    const QPoint point(qRound(f.param->xAxis->coordToPixel(key)), qRound(f.param->yAxis->coordToPixel(0)));
    QCOMPARE(f.param->pointXAt(point), std::optional<double>(key));
    drag(f.param, point, {point + QPoint(40, 0), point});
    QCOMPARE(clicks.count(), 0);
    f.param->replot();
    QCOMPARE(f.param->pointXAt(point), std::optional<double>(key));
    QTest::mouseClick(f.param, Qt::LeftButton, {}, point);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toDouble(), key);
    QCOMPARE(control<QTabWidget>(*f.window, "PageControl_Main")->currentWidget(),
        control<FramesTab>(*f.window, "TabSheet_Cikl"));
}

void TestChartZoom::doubleClickResetsBoth()
{
    ChartsFixture f;
    const QCPRange full = f.param->xAxis->range();
    // Zooms in with the wheel on `zoomOn`, double-clicks on `chart` (shown on `page`).
    const auto zoomThenReset = [&](FrameChart* zoomOn, QWidget* page, FrameChart* chart) {
        wheel(zoomOn, f.emptyAt(zoomOn, 7000), 5);
        QVERIFY(f.param->xAxis->range().size() < full.size() / 2);
        QCOMPARE(f.kz->xAxis->range(), f.param->xAxis->range());
        control<QTabWidget>(*f.tab, "PageControl_Grafik")->setCurrentWidget(page);
        QCoreApplication::processEvents();
        chart->replot();
        QTest::mouseDClick(chart, Qt::LeftButton, {}, f.emptyAt(chart, 500));
        QCOMPARE(f.param->xAxis->range(), full);
        QCOMPARE(f.kz->xAxis->range(), full);
        QCOMPARE(f.kz->yAxis->range(), QCPRange(0, 5));
    };
    zoomThenReset(f.param, control<QWidget>(*f.tab, "TabSheet_KZ"), f.kz);
    zoomThenReset(f.kz, control<QWidget>(*f.tab, "TabSheet_Param"), f.param);
}

void TestChartZoom::hoverNamesFrameDateAndTime()
{
    ChartsFixture f;
    wheel(f.param, f.emptyAt(f.param, 4000), 20);
    f.param->replot();
    const nkp::screen::MainState& s = f.window->state();
    int good = -1, bad = -1;
    for (int p = qCeil(f.param->xAxis->range().lower); p <= f.param->xAxis->range().upper; ++p)
        (s.recordAt(p).isOk() ? good : bad) = p;
    QVERIFY(good >= 0);
    const nkp::recorder::TFrameRecord& r = s.recordAt(good);
    const QString expected
        = QStringLiteral("Кадр %1\n%2 %3")
              .arg(good)
              .arg(fromCp1251(nkp::analysis::frameDateText(r)), fromCp1251(nkp::analysis::frameTimeText(r)));
    QVERIFY(!nkp::analysis::frameDateText(r).empty() && !nkp::analysis::frameTimeText(r).empty());
    const QPoint at(qRound(f.param->xAxis->coordToPixel(good)), f.param->axisRect()->center().y());
    QCOMPARE(f.param->toolTipAt(at), expected);

    // The hover shows it.
    mouse(f.param, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    QCOMPARE(QToolTip::text(), expected);

    // A frame without a good record names its position only; outside the
    // plot area there is nothing to name.
    if (bad >= 0)
        QCOMPARE(f.param->toolTipAt(QPoint(qRound(f.param->xAxis->coordToPixel(bad)), at.y())),
            QStringLiteral("Кадр %1").arg(bad));
    const QPoint below(at.x(), f.param->axisRect()->bottom() + 5);
    QCOMPARE(f.param->toolTipAt(below), QString());
    mouse(f.param, QEvent::MouseMove, below, Qt::NoButton, Qt::NoButton);
    QTRY_VERIFY(!QToolTip::isVisible());

    // After "Очистить" no frame has a date any more.
    const QCPRange zoomed = f.param->xAxis->range();
    control<QAction>(*f.window, "Menu_Clear")->trigger();
    f.param->xAxis->setRange(zoomed);
    f.param->replot();
    QCOMPARE(f.param->toolTipAt(QPoint(qRound(f.param->xAxis->coordToPixel(good)), at.y())),
        QStringLiteral("Кадр %1").arg(good));
}

QTEST_MAIN(TestChartZoom)
#include "tst_chartzoom.moc"
