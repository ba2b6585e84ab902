// The load error log, the service window, the window's size limit and a
// screenshot of every tab after loading the demo read-out.
#include "MainWindowFixture.h"

#include "ui/charts/ChartsTab.h"
#include "ui/service/Logloaderror.h"
#include "ui/service/Official.h"

#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QTabWidget>

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
    QCOMPARE(w.Form_LogError->Memo_LogError->toPlainText(), QStringLiteral("Memo_LogError"));
    f.openDemo();
    const QString log = w.Form_LogError->Memo_LogError->toPlainText();
    QVERIFY2(log.contains(QStringLiteral("Файл: demo.nkp")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("Контрольная сумма образа памяти совпадает")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("Кадров с ошибкой контрольной суммы: %1")
                              .arg(w.state().diagnostics.brokenFrames.size())),
        qPrintable(log));

    // A short file: its size and the checksum mismatch are listed; the log is rewritten.
    std::vector<std::uint8_t> bytes = nkp::generator::generateDataFile(f.options);
    bytes.resize(264100);
    const QString shortPath = f.dir.filePath(QStringLiteral("short.nkp"));
    MainWindowFixture::writeFile(shortPath, bytes);
    f.open(shortPath);
    const QString shortLog = w.Form_LogError->Memo_LogError->toPlainText();
    QVERIFY2(shortLog.contains(QStringLiteral("Размер файла 264100 байт")), qPrintable(shortLog));
    QVERIFY2(shortLog.contains(QStringLiteral("не совпадает")), qPrintable(shortLog));
    QVERIFY(!shortLog.contains(QStringLiteral("demo.nkp")));

    // The log is modal and only hidden when it closes.
    bool shownModal = false;
    QTimer::singleShot(0, [&] {
        shownModal = QApplication::activeModalWidget() == w.Form_LogError;
        w.Form_LogError->close();
    });
    w.Menu_log->trigger();
    QVERIFY(shownModal);
    QVERIFY(w.Form_LogError->isHidden());
    QCOMPARE(w.Form_LogError->windowTitle(), QStringLiteral("Лог ошибок загрузки файла данных"));

    w.N_Adres->trigger();
    QVERIFY(w.Form_Official->isVisible());
    const QStringList dump = w.Form_Official->Memo_Official->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(dump.size(), 13);  // 196 bytes, 16 a line
    QVERIFY(dump[0].startsWith(QStringLiteral("264000  ")));
    w.Form_Official->close();
}

void TestAuxWindows::screenshots()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The window never grows beyond 800 by 600, whatever its tabs hold.
    for (int i = 0; i < w.PageControl_Main->count(); ++i)
        QVERIFY2(w.PageControl_Main->widget(i)->minimumSizeHint().width() <= 790,
            qPrintable(QStringLiteral("tab %1 needs %2 px")
                           .arg(i)
                           .arg(w.PageControl_Main->widget(i)->minimumSizeHint().width())));
    QVERIFY(w.width() <= 800 && w.height() <= 600);
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    const auto save = [&](const QString& name) {
        QCoreApplication::processEvents();
        QVERIFY(w.grab().save(folder + QLatin1Char('/') + name));
    };
    w.PageControl_Main->setCurrentIndex(0);
    save(QStringLiteral("tab1_const.png"));
    w.PageControl_Main->setCurrentIndex(1);
    w.TabSheet_Grafik->PageControl_Grafik->setCurrentIndex(0);
    save(QStringLiteral("tab2_param.png"));
    w.TabSheet_Grafik->CheckBox_Data->click();
    w.TabSheet_Grafik->CheckBox_GrParR->click();
    save(QStringLiteral("tab2_param_dates_radius.png"));
    w.TabSheet_Grafik->PageControl_Grafik->setCurrentIndex(1);
    save(QStringLiteral("tab2_kz.png"));
    w.PageControl_Main->setCurrentIndex(2);
    save(QStringLiteral("tab3_table.png"));
}

QTEST_MAIN(TestAuxWindows)
#include "tst_auxwindows.moc"
