// The tab "События" of the main window, over a read-out made frame by frame.
#include "EventImage.h"
#include "MainWindowFixture.h"

#include "analysis/EventsCsv.h"
#include "ui/charts/ChartsTab.h"
#include "ui/charts/FrameChart.h"
#include "ui/main/EventsTab.h"
#include "ui/main/FramesTab.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include <fstream>
#include <iterator>

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
        EventsTab* tab = f.window->TabSheet_Events;
        QVERIFY(tab);
        QCOMPARE(f.window->PageControl_Main->count(), 4);
        QCOMPARE(f.window->PageControl_Main->tabText(3), QStringLiteral("События"));

        QTableWidget* grid = tab->StringGrid_Events;
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Перегрузка"));
        QCOMPARE(grid->item(1, 0)->text(), QStringLiteral("Вход в зону: стена"));
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("Срабатывание: стена"));
        QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("Отказ E12"));
        QCOMPARE(grid->item(4, 1)->text(), QStringLiteral("5000"));
        QVERIFY(tab->Label_Counts->text().contains(QStringLiteral("Перегрузка: 2")));

        // Filter by kind, then the threshold.
        tab->ComboBox_Kind->setCurrentIndex(1);
        QCOMPARE(grid->rowCount(), 2);
        tab->Edit_Threshold->setValue(101);
        QCOMPARE(grid->rowCount(), 1);
        tab->Edit_Threshold->setValue(100);
        tab->ComboBox_Kind->setCurrentIndex(0);
        QCOMPARE(grid->rowCount(), 5);

        // A click on the fault: its first frame in the frames table, its
        // range marked on both charts, the frames table shown.
        const QRect cellRect = grid->visualRect(grid->model()->index(3, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellRect.center());
        QCOMPARE(f.window->PageControl_Main->currentWidget(), f.window->TabSheet_Cikl);
        QCOMPARE(f.window->TabSheet_Cikl->StringGrid_O_Otb->item(0, 0)->text(), QStringLiteral("300"));
        double left = 0;
        QCOMPARE(marks(f.window->TabSheet_Grafik->Chart_Param, &left), 1);
        QCOMPARE(left, 299.5);
        QCOMPARE(marks(f.window->TabSheet_Grafik->Chart_KZ), 1);

        // A frame that a selection left out: the table gets its full list back.
        f.window->TabSheet_Cikl->runSelection(1);  // load >= 100
        tab->showEpisode(3);
        QCOMPARE(f.window->TabSheet_Cikl->StringGrid_O_Otb->item(0, 0)->text(), QStringLiteral("300"));

        // The spectrum beside the recorder's counters.
        QCOMPARE(tab->StringGrid_Cycles->item(0, 1)->text(), QStringLiteral("40"));
        QCOMPARE(tab->StringGrid_Cycles->item(0, 2)->text(), QStringLiteral("40,0"));
        QCOMPARE(tab->StringGrid_Cycles->item(5, 1)->text(), QStringLiteral("100"));

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
        // Never over the read-out itself.
        f.prompts.fileAnswers.push_back(QFile::encodeName(path).toStdString());
        QVERIFY(!tab->exportCsv());
    }

    void screenshotOfTheTab()
    {
        MainWindowFixture f;
        f.openDemo();
        f.window->PageControl_Main->setCurrentWidget(f.window->TabSheet_Events);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->TabSheet_Events->StringGrid_Events->selectRow(0);
        QVERIFY(f.window->TabSheet_Events->StringGrid_Events->rowCount() > 0);
        QDir().mkpath(screenshotDir());
        QVERIFY(f.window->grab().save(QDir(screenshotDir()).filePath(QStringLiteral("events.png"))));
    }
};

QTEST_MAIN(TestEvents)
#include "tst_events.moc"
