// The windows on small and scaled screens, the print items' dependence on a
// loaded read-out, Ctrl+P, and the screenshots of the main window, the
// archive window with an error shown and the help window. ctest runs
// this binary on the default screen, on a 1366x768 laptop screen under
// ru_RU.UTF-8 and on a 1920x1080 screen at scale 2.
#include "ArchiveDemo.h"
#include "Controls.h"
#include "MainWindowFixture.h"

#include "ui/archive/Archive.h"
#include "ui/common/ScreenFit.h"
#include "ui/common/UiText.h"
#include "ui/fleet/Fleet.h"
#include "ui/help/Help.h"
#include "ui/main/ConstTab.h"
#include "ui/reading/Readnkp3.h"
#include "ui/service/Logloaderror.h"
#include "ui/service/Official.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

using nkp::test::control;

namespace {

// A 1920x1080 screen at scale 2 is 960x540 logical pixels; a desktop panel
// and the window frame take their share of that.
constexpr QSize kScaledScreen {960, 540};
constexpr QSize kLaptopScreen {1366, 768};
constexpr int kPanel = 28;

QSize room(QSize screen)
{
    return screen - QSize(0, kPanel) - nkp::ui::kFrameReserve;
}

// What the window system cannot shrink the window below.
QSize hardMinimum(const QWidget& w)
{
    return w.minimumSize().expandedTo(w.minimumSizeHint());
}

QString describe(const QWidget& w)
{
    const QSize m = hardMinimum(w);
    const QRect frame = w.frameGeometry();
    return QStringLiteral("%1: minimum %2x%3, size %4x%5, with frame %8x%9 at %10,%11, screen area %6x%7")
        .arg(w.objectName())
        .arg(m.width())
        .arg(m.height())
        .arg(w.width())
        .arg(w.height())
        .arg(nkp::ui::availableArea(&w).width())
        .arg(nkp::ui::availableArea(&w).height())
        .arg(frame.width())
        .arg(frame.height())
        .arg(frame.x())
        .arg(frame.y());
}

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void printItemsNeedReadout();
    void ctrlPOpensPrintMenu();
    void windowsFitSmallScreens();
    void printPreviewFitsScreen();
    void screenshot();
    void archiveAndHelpScreenshots();

private:
    // Shows `w`, then checks that it can shrink to a 1366x768 laptop screen
    // and to 1920x1080 at scale 2, and that it lies on its own screen.
    static void checkFits(QWidget& w);
    // Saves the screen with `w` on it as `path`, once it shows a painted window.
    static void saveScreen(QWidget& w, const QString& path);
};

void TestDesktop::checkFits(QWidget& w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    const QSize minimum = hardMinimum(w);
    QVERIFY2(
        minimum.width() <= room(kScaledScreen).width() && minimum.height() <= room(kScaledScreen).height(),
        qPrintable(describe(w)));
    QVERIFY2(
        minimum.width() <= room(kLaptopScreen).width() && minimum.height() <= room(kLaptopScreen).height(),
        qPrintable(describe(w)));
    // On the screen this test runs on, the window with its frame is inside
    // the available area: title bar, menu and buttons can be reached.
    const QRect area = nkp::ui::availableArea(&w);
    QVERIFY2(w.width() + nkp::ui::kFrameReserve.width() <= area.width()
            && w.height() + nkp::ui::kFrameReserve.height() <= area.height(),
        qPrintable(describe(w)));
    QVERIFY2(area.contains(w.frameGeometry()), qPrintable(describe(w)));
}

void TestDesktop::printItemsNeedReadout()
{
    MainWindowFixture f;
    TForm_TPB140CMain& w = *f.window;
    const QString hint = TForm_TPB140CMain::printDisabledHint();
    QVERIFY(!control<QAction>(w, "M_IK")->isEnabled());
    QVERIFY(!control<QAction>(w, "M_Oper")->isEnabled());
    QVERIFY(!control<QAction>(w, "M_Events")->isEnabled());
    QCOMPARE(control<QAction>(w, "M_Events")->statusTip(), hint);
    QCOMPARE(control<QAction>(w, "M_IK")->statusTip(), hint);
    QCOMPARE(control<QMenu>(w, "Menu_Print")->menuAction()->statusTip(), hint);
    QCOMPARE(control<QLabel>(w, "StatusBar_Main_Panel0")->text(), hint);
    // A disabled item prints nothing, not even a card of design texts.
    control<QAction>(w, "M_IK")->trigger();
    control<QAction>(w, "M_Oper")->trigger();
    control<QAction>(w, "M_Events")->trigger();
    QVERIFY(f.prompts.calls.empty());

    f.openDemo();
    QVERIFY(control<QAction>(w, "M_IK")->isEnabled());
    QVERIFY(control<QAction>(w, "M_Oper")->isEnabled());
    QVERIFY(control<QAction>(w, "M_Events")->isEnabled());
    QVERIFY(control<QAction>(w, "M_IK")->statusTip().isEmpty());
    QVERIFY(control<QMenu>(w, "Menu_Print")->menuAction()->statusTip().isEmpty());
    QVERIFY(control<QLabel>(w, "StatusBar_Main_Panel0")->text().isEmpty());

    control<QAction>(w, "Menu_Clear")->trigger();
    QVERIFY(!control<QAction>(w, "M_IK")->isEnabled());
    QVERIFY(!control<QAction>(w, "M_Oper")->isEnabled());
    QCOMPARE(control<QLabel>(w, "StatusBar_Main_Panel0")->text(), hint);

    // A file that cannot be opened leaves the state as it was.
    f.open(f.dir.filePath(QStringLiteral("missing.nkp")));
    QVERIFY(!control<QAction>(w, "M_IK")->isEnabled());
    f.openDemo();
    QVERIFY(control<QAction>(w, "M_IK")->isEnabled());
}

void TestDesktop::ctrlPOpensPrintMenu()
{
    MainWindowFixture f;
    TForm_TPB140CMain& w = *f.window;
    QCOMPARE(control<QMenu>(w, "Menu_Print")->menuAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(!control<QMenu>(w, "Menu_Print")->isVisible());
    QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
    QTRY_VERIFY(control<QMenu>(w, "Menu_Print")->isVisible());
    control<QMenu>(w, "Menu_Print")->close();
}

void TestDesktop::windowsFitSmallScreens()
{
    MainWindowFixture f;
    TForm_TPB140CMain& w = *f.window;
    f.openDemo();
    // The design size where the screen holds it.
    const QRect area = nkp::ui::availableArea(&w);
    if (area.width() >= 800 + nkp::ui::kFrameReserve.width()
        && area.height() >= 600 + nkp::ui::kFrameReserve.height())
        QCOMPARE(w.size(), QSize(800, 600));
    checkFits(w);
    for (int i = 0; i < control<QTabWidget>(w, "PageControl_Main")->count(); ++i) {
        control<QTabWidget>(w, "PageControl_Main")->setCurrentIndex(i);
        QCoreApplication::processEvents();
        QVERIFY2(hardMinimum(w).height() <= room(kScaledScreen).height(), qPrintable(describe(w)));
    }
    // The menu bar and the status bar are inside the window.
    QVERIFY(w.menuBar()->geometry().top() >= 0);
    QVERIFY(w.statusBar()->geometry().bottom() < w.height());

    TForm_ReadNKP3 reading(&w, f.prompts, f.dir.path());
    checkFits(reading);
    reading.hide();

    control<QAction>(w, "Menu_Fleet")->trigger();
    QVERIFY(w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet")));
    checkFits(*w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet")));
    w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"))->close();

    // The archive window, with a long error in its status line.
    {
        TForm_Archive archive(f.prompts,
            f.dir.filePath(QString(300, QLatin1Char('a')) + QStringLiteral(".sqlite")), f.dir.path(), &w);
        archive.show();
        QTRY_VERIFY(control<QLabel>(archive, "Label_Status")->text().contains(QStringLiteral("не найден")));
        checkFits(archive);
        QTest::keyClick(&archive, Qt::Key_Escape);
        QVERIFY(!archive.isVisible());
    }

    checkFits(*control<TForm_LogError>(w, "Form_LogError"));
    control<TForm_LogError>(w, "Form_LogError")->hide();
    checkFits(*control<TForm_Official>(w, "Form_Official"));
    control<TForm_Official>(w, "Form_Official")->hide();
}

void TestDesktop::printPreviewFitsScreen()
{
    MainWindowFixture f;
    f.openDemo();
    f.window->show();
    // Each preview is checked and closed while its modal loop runs.
    int previews = 0;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        ++previews;
        checkFits(*dialog);
        dialog->reject();
    });
    closer.start(50);
    control<QAction>(*f.window, "M_Oper")->trigger();
    QCOMPARE(previews, 1);
    control<QAction>(*f.window, "M_Events")->trigger();
    QCOMPARE(previews, 2);
}

void TestDesktop::screenshot()
{
    const QString name = qEnvironmentVariable("NKP_SCREENSHOT_NAME");
    if (name.isEmpty())
        QSKIP("no screenshot asked for (NKP_SCREENSHOT_NAME)");
    const QString folder
        = qEnvironmentVariable("NKP_SCREENSHOT_DIR", QStringLiteral(NKP_BUILD_DIR "/screenshots"));
    QVERIFY(QDir().mkpath(folder));

    // The window as the program makes it: the system's decimal separator.
    MainWindowFixture f(nkp::ui::systemDecimalSeparator());
    TForm_TPB140CMain& w = *f.window;
    f.openDemo();
    control<QTabWidget>(w, "PageControl_Main")->setCurrentIndex(0);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(50);
    QVERIFY(!control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_MKran")->text().isEmpty());
    saveScreen(w, folder + QLatin1Char('/') + name);
}

void TestDesktop::saveScreen(QWidget& w, const QString& path)
{
    // The whole screen, so that the picture shows the window within it.
    QScreen* screen = w.screen();
    QPixmap shot = screen->grabWindow(0);
    if (shot.isNull() || shot.size().isEmpty())
        shot = w.grab();
    // What the picture shows: the whole window on the screen, painted.
    QVERIFY2(screen->geometry().contains(w.frameGeometry()), qPrintable(describe(w)));
    const QImage image = shot.toImage();
    QVERIFY(!image.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() > 10, qPrintable(QString::number(colours.size())));
    QVERIFY(shot.save(path));
}

// The archive window over the demo archive with an import error in its
// status line, and the help window on a page with a picture, on the screen
// this test runs on: "archive-" and "help-" in place of the main window's
// "main-" of NKP_SCREENSHOT_NAME.
void TestDesktop::archiveAndHelpScreenshots()
{
    QString name = qEnvironmentVariable("NKP_SCREENSHOT_NAME");
    if (name.isEmpty())
        QSKIP("no screenshot asked for (NKP_SCREENSHOT_NAME)");
    const QString folder
        = qEnvironmentVariable("NKP_SCREENSHOT_DIR", QStringLiteral(NKP_BUILD_DIR "/screenshots"));
    QVERIFY(QDir().mkpath(folder));
    name.remove(QStringLiteral("main-"));

    MainWindowFixture f(nkp::ui::systemDecimalSeparator());
    f.window->show();
    TForm_Archive archive(
        f.prompts, f.dir.filePath(QStringLiteral("archive.sqlite")), f.dir.path(), f.window.get());
    archive.setDecimalSeparator(nkp::ui::systemDecimalSeparator());
    archive.show();
    QVERIFY(nkp::test::fillDemoArchive(archive, f.prompts, f.dir.filePath(QStringLiteral("Файлы"))));
    // A file far too short for a read-out, deep in a folder with a long name.
    const QString deep = f.dir.filePath(
        QStringLiteral("Считывания участка №3 за второе полугодие/") + QString(60, QLatin1Char('x')));
    QVERIFY(QDir().mkpath(deep));
    MainWindowFixture::writeFile(deep + QStringLiteral("/обрезанный.nkp"), std::vector<std::uint8_t>(10, 0));
    QSignalSpy ended(&archive, &TForm_Archive::importEnded);
    archive.addPaths({QFile::encodeName(deep).toStdString()});
    QVERIFY(ended.wait(60000));
    QVERIFY(control<QLabel>(archive, "Label_Status")->text().contains(QStringLiteral("не прочитано: 1")));
    checkFits(archive);
    QTest::qWait(50);
    saveScreen(archive, folder + QStringLiteral("/archive-") + name);
    archive.close();

    nkp::ui::showHelpFor(f.window.get());
    auto* help = f.window->findChild<TForm_Help*>(QStringLiteral("Form_Help"));
    QVERIFY(help);
    help->showPage(QStringLiteral("archive.md"));  // a page with its pictures
    checkFits(*help);
    QTest::qWait(50);
    saveScreen(*help, folder + QStringLiteral("/help-") + name);
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
