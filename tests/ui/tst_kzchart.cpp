// The coordinate-protection chart draws a tripped (red) point over an
// entered (green) one at the same frame, whichever colour comes first.
#include "screen/ChartData.h"
#include "ui/charts/FrameChart.h"

#include <QtTest>

using nkp::screen::kGreen;
using nkp::screen::kRed;
using nkp::screen::Rgb;
using nkp::screen::SeriesData;

class TestKzChart : public QObject {
    Q_OBJECT
private slots:
    void redOverGreen_data();
    void redOverGreen();
};

void TestKzChart::redOverGreen_data()
{
    QTest::addColumn<bool>("trippedFirst");
    QTest::newRow("series starts tripped only") << true;
    QTest::newRow("series starts entered") << false;
}

void TestKzChart::redOverGreen()
{
    QFETCH(bool, trippedFirst);
    SeriesData s;
    s.id = "Series7";
    s.color = kGreen;
    s.colorLayers = {kGreen, kRed};
    const auto point = [&s](double x, Rgb c) {
        s.x.push_back(x);
        s.y.push_back(2);
        s.pointColors.push_back(c);
    };
    point(10, trippedFirst ? kRed : kGreen);
    point(50, kGreen);  // entered and tripped in one frame
    point(50, kRed);

    FrameChart chart(QStringLiteral("kz"));
    chart.resize(400, 300);
    chart.setSeries({s}, {QStringLiteral("Series7")});
    chart.setFixedValueRange(0, 5);
    chart.xAxis->setRange(0, 100);
    chart.replot();

    const QList<QCPGraph*> graphs = chart.graphsOf(QStringLiteral("Series7"));
    QCOMPARE(graphs.size(), 2);
    QCOMPARE(graphs[0]->pen().color(), QColor(0, 128, 0));
    QCOMPARE(graphs[1]->pen().color(), QColor(255, 0, 0));
    QCOMPARE(graphs[0]->layer(), graphs[1]->layer());
    const QList<QCPLayerable*> drawn = graphs[0]->layer()->children();
    QVERIFY(drawn.indexOf(graphs[0]) < drawn.indexOf(graphs[1]));

    // What the user sees: the spot of frame 50 is red.
    const QImage image = chart.toPixmap(400, 300, 1.0).toImage();
    const QPoint spot(qRound(chart.xAxis->coordToPixel(50)), qRound(chart.yAxis->coordToPixel(2)));
    QCOMPARE(image.pixelColor(spot), QColor(255, 0, 0));
    const QPoint first(qRound(chart.xAxis->coordToPixel(10)), qRound(chart.yAxis->coordToPixel(2)));
    QCOMPARE(image.pixelColor(first), trippedFirst ? QColor(255, 0, 0) : QColor(0, 128, 0));
}

QTEST_MAIN(TestKzChart)
#include "tst_kzchart.moc"
