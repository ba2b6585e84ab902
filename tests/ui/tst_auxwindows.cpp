// The load error log, the service window, the window's size limit and a
// screenshot of every tab after loading the demo read-out.
#include "Controls.h"
#include "MainWindowFixture.h"

#include "ui/charts/ChartsTab.h"
#include "ui/service/Logloaderror.h"
#include "ui/service/Official.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QTabWidget>

using nkp::test::control;

class TestAuxWindows : public QObject {
    Q_OBJECT
private slots:
    void loadErrorLogAndServiceWindow();
    void screenshots();
};

void TestAuxWindows::loadErrorLogAndServiceWindow()
{
    MainWindowFixture f;
    TForm_TPB140CMain& w = *f.window;
    QCOMPARE(control<QPlainTextEdit>(w, "Memo_LogError")->toPlainText(), QStringLiteral("Memo_LogError"));
    f.openDemo();
    const QString log = control<QPlainTextEdit>(w, "Memo_LogError")->toPlainText();
    QVERIFY2(log.contains(QStringLiteral("Файл: demo.nkp")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("Контрольная сумма образа памяти совпадает")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("Кадров с ошибкой контрольной суммы: %1")
                              .arg(w.state().readout.diagnostics.brokenFrames.size())),
        qPrintable(log));

    // A short file: its size and the checksum mismatch are listed; the log is rewritten.
    std::vector<std::uint8_t> bytes = nkp::generator::generateDataFile(f.options);
    bytes.resize(264100);
    const QString shortPath = f.dir.filePath(QStringLiteral("short.nkp"));
    MainWindowFixture::writeFile(shortPath, bytes);
    f.open(shortPath);
    const QString shortLog = control<QPlainTextEdit>(w, "Memo_LogError")->toPlainText();
    QVERIFY2(shortLog.contains(QStringLiteral("Размер файла 264100 байт")), qPrintable(shortLog));
    QVERIFY2(shortLog.contains(QStringLiteral("не совпадает")), qPrintable(shortLog));
    QVERIFY(!shortLog.contains(QStringLiteral("demo.nkp")));

    // The log is modal and only hidden when it closes.
    bool shownModal = false;
    QTimer::singleShot(0, [&] {
        shownModal = QApplication::activeModalWidget() == control<TForm_LogError>(w, "Form_LogError");
        control<TForm_LogError>(w, "Form_LogError")->close();
    });
    control<QAction>(w, "Menu_log")->trigger();
    QVERIFY(shownModal);
    QVERIFY(control<TForm_LogError>(w, "Form_LogError")->isHidden());
    QCOMPARE(control<TForm_LogError>(w, "Form_LogError")->windowTitle(),
        QStringLiteral("Лог ошибок загрузки файла данных"));

    control<QAction>(w, "N_Adres")->trigger();
    QVERIFY(control<TForm_Official>(w, "Form_Official")->isVisible());
    const QStringList dump
        = control<QPlainTextEdit>(w, "Memo_Official")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(dump.size(), 13);  // 196 bytes, 16 a line
    QVERIFY(dump[0].startsWith(QStringLiteral("264000  ")));
    control<TForm_Official>(w, "Form_Official")->close();
}

void TestAuxWindows::screenshots()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The window never grows beyond 800 by 600, whatever its tabs hold.
    for (int i = 0; i < control<QTabWidget>(w, "PageControl_Main")->count(); ++i)
        QVERIFY2(control<QTabWidget>(w, "PageControl_Main")->widget(i)->minimumSizeHint().width() <= 790,
            qPrintable(
                QStringLiteral("tab %1 needs %2 px")
                    .arg(i)
                    .arg(control<QTabWidget>(w, "PageControl_Main")->widget(i)->minimumSizeHint().width())));
    QVERIFY(w.width() <= 800 && w.height() <= 600);
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    // Each picture shows the window at its size, whatever the tab or chart holds.
    const QSize size = w.size();
    const auto save = [&](const QString& name) {
        QCoreApplication::processEvents();
        QCOMPARE(w.size(), size);
        const QPixmap shot = w.grab();
        QCOMPARE(shot.deviceIndependentSize().toSize(), size);
        QVERIFY(shot.save(folder + QLatin1Char('/') + name));
    };
    control<QTabWidget>(w, "PageControl_Main")->setCurrentIndex(0);
    save(QStringLiteral("tab1_const.png"));
    control<QTabWidget>(w, "PageControl_Main")->setCurrentIndex(1);
    control<QTabWidget>(*control<ChartsTab>(w, "TabSheet_Grafik"), "PageControl_Grafik")->setCurrentIndex(0);
    save(QStringLiteral("tab2_param.png"));
    control<QCheckBox>(*control<ChartsTab>(w, "TabSheet_Grafik"), "CheckBox_Data")->click();
    control<QCheckBox>(*control<ChartsTab>(w, "TabSheet_Grafik"), "CheckBox_GrParR")->click();
    save(QStringLiteral("tab2_param_dates_radius.png"));
    control<QTabWidget>(*control<ChartsTab>(w, "TabSheet_Grafik"), "PageControl_Grafik")->setCurrentIndex(1);
    save(QStringLiteral("tab2_kz.png"));
    control<QTabWidget>(w, "PageControl_Main")->setCurrentIndex(2);
    save(QStringLiteral("tab3_table.png"));
}

QTEST_MAIN(TestAuxWindows)
#include "tst_auxwindows.moc"
