// The tab "События" of the main window, over a read-out made frame by frame.
#include "Controls.h"
#include "EventImage.h"
#include "MainWindowFixture.h"

#include "analysis/EventsCsv.h"
#include "ui/charts/ChartsTab.h"
#include "ui/charts/FrameChart.h"
#include "ui/common/UiText.h"
#include "ui/main/EventsTab.h"
#include "ui/main/FramesTab.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

#include <fstream>
#include <iterator>

using nkp::test::control;

namespace {

// Items named as an episode's mark on a chart.
int marks(QCustomPlot* chart, double* left = nullptr)
{
    int n = 0;
    for (int i = 0; i < chart->itemCount(); ++i)
        if (chart->item(i)->objectName() == QStringLiteral("episodeMark")) {
            ++n;
            if (left)
                *left = static_cast<QCPItemRect*>(chart->item(i))->topLeft->coords().x();
        }
    return n;
}

QString screenshotDir()
{
    const QByteArray env = qgetenv("NKP_SCREENSHOT_DIR");
    return env.isEmpty() ? QStringLiteral(NKP_SCREENSHOT_DEFAULT_DIR) : QString::fromLocal8Bit(env);
}

}  // namespace

class TestEvents : public QObject {
    Q_OBJECT
private slots:
    void loadingFillsTheTabAndAClickShowsTheEpisode()
    {
        MainWindowFixture f;
        nkp::test::EventImage img;
        img.load(10, 12, 120).limits(11, 11, 0x11).fault(300, 301, 0x12).load(5000, 5000, 100);
        img.cycles(40, 30, 20, 8, 2);
        const QString path = f.dir.filePath(QStringLiteral("events.nkp"));
        MainWindowFixture::writeFile(path, img.dataFile());
        f.open(path);
        EventsTab* tab = control<EventsTab>(*f.window, "TabSheet_Events");
        QVERIFY(tab);
        QCOMPARE(control<QTabWidget>(*f.window, "PageControl_Main")->count(), 4);
        QCOMPARE(control<QTabWidget>(*f.window, "PageControl_Main")->tabText(3), QStringLiteral("События"));

        QTableView* grid = control<QTableView>(*tab, "StringGrid_Events");
        QCOMPARE(grid->model()->rowCount(), 5);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("Перегрузка"));
        QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("Вход в зону: стена"));
        QCOMPARE(grid->model()->index(2, 0).data().toString(), QStringLiteral("Срабатывание: стена"));
        QCOMPARE(grid->model()->index(3, 0).data().toString(), QStringLiteral("Отказ E12"));
        QCOMPARE(grid->model()->index(4, 1).data().toString(), QStringLiteral("5000"));
        QVERIFY(control<QLabel>(*tab, "Label_Counts")->text().contains(QStringLiteral("Перегрузка: 2")));

        // Filter by kind, then the threshold.
        control<QComboBox>(*tab, "ComboBox_Kind")->setCurrentIndex(1);
        QCOMPARE(grid->model()->rowCount(), 2);
        control<QSpinBox>(*tab, "Edit_Threshold")->setValue(101);
        QCOMPARE(grid->model()->rowCount(), 1);
        control<QSpinBox>(*tab, "Edit_Threshold")->setValue(100);
        control<QComboBox>(*tab, "ComboBox_Kind")->setCurrentIndex(0);
        QCOMPARE(grid->model()->rowCount(), 5);

        // A click on the fault: its first frame in the frames table, its
        // range marked on both charts, the frames table shown.
        const QRect cellRect = grid->visualRect(grid->model()->index(3, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellRect.center());
        QCOMPARE(control<QTabWidget>(*f.window, "PageControl_Main")->currentWidget(),
            control<FramesTab>(*f.window, "TabSheet_Cikl"));
        QCOMPARE(control<QTableView>(*control<FramesTab>(*f.window, "TabSheet_Cikl"), "StringGrid_O_Otb")
                     ->model()
                     ->index(0, 0)
                     .data()
                     .toString(),
            QStringLiteral("300"));
        double left = 0;
        QCOMPARE(marks(control<FrameChart>(*control<ChartsTab>(*f.window, "TabSheet_Grafik"), "Chart_Param"),
                     &left),
            1);
        QCOMPARE(left, 299.5);
        QCOMPARE(
            marks(control<FrameChart>(*control<ChartsTab>(*f.window, "TabSheet_Grafik"), "Chart_KZ")), 1);

        // A frame that a selection left out: the table gets its full list back.
        control<FramesTab>(*f.window, "TabSheet_Cikl")->runSelection(1);  // load >= 100
        tab->showEpisode(3);
        QCOMPARE(control<QTableView>(*control<FramesTab>(*f.window, "TabSheet_Cikl"), "StringGrid_O_Otb")
                     ->model()
                     ->index(0, 0)
                     .data()
                     .toString(),
            QStringLiteral("300"));

        // The spectrum beside the recorder's counters.
        QCOMPARE(control<QTableWidget>(*tab, "StringGrid_Cycles")->item(0, 1)->text(), QStringLiteral("40"));
        QCOMPARE(
            control<QTableWidget>(*tab, "StringGrid_Cycles")->item(0, 2)->text(), QStringLiteral("40,0"));
        QCOMPARE(control<QTableWidget>(*tab, "StringGrid_Cycles")->item(5, 1)->text(), QStringLiteral("100"));
        // Every column of the counters shows its caption and numbers whole.
        QTableWidget* cycles = control<QTableWidget>(*tab, "StringGrid_Cycles");
        for (int c = 0; c < cycles->columnCount(); ++c) {
            QVERIFY(cycles->columnWidth(c) >= cycles->horizontalHeader()->sectionSizeHint(c));
            for (int r = 0; r < cycles->rowCount(); ++r)
                QVERIFY(cycles->columnWidth(c)
                    > QFontMetrics(cycles->font()).horizontalAdvance(cycles->item(r, c)->text()));
        }
        QVERIFY(cycles->horizontalHeader()->sectionViewportPosition(2) + cycles->columnWidth(2)
            <= cycles->viewport()->width());

        // CSV export through the scripted dialog.
        const QString csv = f.dir.filePath(QStringLiteral("events.csv"));
        f.prompts.fileAnswers.push_back(QFile::encodeName(csv).toStdString());
        QVERIFY(tab->exportCsv());
        std::ifstream in(QFile::encodeName(csv).toStdString(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QCOMPARE(bytes.substr(0, 3), std::string("\xEF\xBB\xBF"));
        QVERIFY(bytes.find(
                    "\r\nОтказ E12;300;301;2;01.03.2024 08:05:00;01.03.2024 08:05:01;0;1,00;5,00;12,00\r\n")
            != std::string::npos);
        // The box says where the file went.
        QVERIFY(QString::fromStdString(f.prompts.callsOf("information").back().text)
                    .endsWith(QStringLiteral("Файл: ") + csv));
        // The kind filter the user set holds for the export too.
        auto* kind = control<QComboBox>(*tab, "ComboBox_Kind");
        kind->setCurrentIndex(1);
        const std::size_t shown = tab->shownEpisodes().size();
        QVERIFY(shown < tab->episodes().size());
        QCOMPARE(tab->kindFilter(), 0);
        f.prompts.fileAnswers.push_back(QFile::encodeName(csv).toStdString());
        QVERIFY(tab->exportCsv());
        QFile filtered(csv);
        QVERIFY(filtered.open(QIODevice::ReadOnly));
        QCOMPARE(static_cast<std::size_t>(filtered.readAll().count("\r\n")), shown + 1);
        kind->setCurrentIndex(0);
        // Never over the read-out itself.
        f.prompts.fileAnswers.push_back(QFile::encodeName(path).toStdString());
        QVERIFY(!tab->exportCsv());
    }

    void screenshotOfTheTab()
    {
        MainWindowFixture f;
        f.openDemo();
        control<QTabWidget>(*f.window, "PageControl_Main")
            ->setCurrentWidget(control<EventsTab>(*f.window, "TabSheet_Events"));
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        // The spectrum is drawn once its tab is seen: thirteen bars, each with its share.
        const auto* spectrum = control<QCustomPlot>(*f.window, "Chart_Spectrum");
        QCOMPARE(spectrum->plottableCount(), 1);
        QCOMPARE(spectrum->itemCount(), nkp::analysis::kSpectrumBandCount);
        QTableView* grid
            = control<QTableView>(*control<EventsTab>(*f.window, "TabSheet_Events"), "StringGrid_Events");
        grid->selectRow(0);
        QVERIFY(grid->model()->rowCount() > 0);
        // Every column within the table at the window's 800 pixels: no
        // horizontal scrolling, the date-times and numbers whole.
        f.window->resize(800, f.window->height());
        QCOMPARE(f.window->width(), 800);
        QCoreApplication::processEvents();
        QHeaderView* header = grid->horizontalHeader();
        QVERIFY2(header->length() <= grid->viewport()->width(),
            qPrintable(QStringLiteral("%1 > %2").arg(header->length()).arg(grid->viewport()->width())));
        QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
        const QFontMetrics metrics(grid->font());
        for (int c = 1; c < grid->model()->columnCount(); ++c)
            QVERIFY2(header->sectionSize(c)
                    >= metrics.horizontalAdvance(grid->model()->index(0, c).data().toString()),
                qPrintable(QString::number(c)));
        QCOMPARE(grid->model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
            QStringLiteral("Первый кадр"));
        QDir().mkpath(screenshotDir());
        QVERIFY(f.window->grab().save(QDir(screenshotDir()).filePath(QStringLiteral("events.png"))));
    }
};

QTEST_MAIN(TestEvents)
#include "tst_events.moc"
