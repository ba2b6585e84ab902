// What a desktop program owes its user beside its own work: the guide (a
// page for every window and tab, F1 on the one in use, the pictures its
// pages name), recent files, the window's place, dropped read-outs, menu
// keys that work from any field, and windows that raise no other window.
#include "ArchiveDemo.h"
#include "Controls.h"
#include "MainWindowFixture.h"

#include "ui/archive/Archive.h"
#include "ui/common/QtUserPrompts.h"
#include "ui/common/UiText.h"
#include "ui/fleet/Fleet.h"
#include "ui/help/Help.h"
#include "ui/main/ConstTab.h"
#include "ui/main/DesktopHabits.h"
#include "ui/main/FramesTab.h"
#include "ui/reading/Readnkp3.h"
#include "ui/service/Logloaderror.h"
#include "ui/service/Official.h"

#include <QApplication>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTextBlock>
#include <QTextBrowser>

using nkp::test::control;

namespace {

// The main window with the two commands that open modal windows counted instead.
class CountingWindow : public TForm_TPB140CMain {
public:
    using TForm_TPB140CMain::TForm_TPB140CMain;
    int reads = 0, opens = 0;
    void Menu_STN3Click() override { ++reads; }
    void Menu_OpenSTN3Click() override { ++opens; }
};

TForm_Help* shownHelp()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<TForm_Help*>(w); help && help->isVisible())
            return help;
    return nullptr;
}

// Shows `w` as the window in use (the one a user last clicked into).
bool activate(QWidget& w)
{
    w.show();
    w.activateWindow();
    return QTest::qWaitFor([&w] { return QApplication::activeWindow() == &w; });
}

QString guideFile(const QString& name)
{
    return QDir(nkp::ui::guideDirectory()).filePath(name);
}

}  // namespace

class TestConventions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qputenv("NKP_GUIDE_DIR", NKP_GUIDE_SOURCE_DIR); }
    void guideHasAPageForEveryWindowAndEveryPicture();
    void f1OpensThePageOfTheWindowInUse();
    void helpPicturesFitThePage();
    void recentFilesPlaceAndDroppedReadouts();
    void menuKeysWorkFromAnyField();
    void fleetDialogsBelongToTheFleetAndEscCloses();
    void loadedReadoutAndDecodedCells();
    void guidePictures();
};

void TestConventions::guideHasAPageForEveryWindowAndEveryPicture()
{
    MainWindowFixture f;
    auto* tabs = control<QTabWidget>(*f.window, "PageControl_Main");
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        pages << nkp::ui::helpPageFor(f.window.get());
    }
    TForm_ReadNKP3 reading(nullptr, f.prompts, f.dir.path());
    TForm_Fleet fleet(f.prompts, f.dir.path());
    TForm_LogError log;
    TForm_Official official;
    for (const QWidget* w : std::initializer_list<const QWidget*> {&reading, &fleet, &log, &official})
        pages << nkp::ui::helpPageFor(w);
    QCOMPARE(QSet<QString>(pages.begin(), pages.end()).size(), pages.size());  // each its own page
    QVERIFY(!pages.contains(QStringLiteral("index.md")));
    // The archive window: its history, and the crane log's page for the log, remarks and due dates.
    TForm_Archive archive(f.prompts, f.dir.filePath(QStringLiteral("archive.sqlite")), f.dir.path());
    auto* cranePages = control<QTabWidget>(archive, "PageControl_Crane");
    QStringList archivePages;
    for (int i = 0; i < cranePages->count(); ++i) {
        cranePages->setCurrentIndex(i);
        archivePages << nkp::ui::helpPageFor(cranePages->currentWidget());
    }
    QCOMPARE(archivePages,
        QStringList({QStringLiteral("archive.md"), QStringLiteral("crane-log.md"),
            QStringLiteral("crane-log.md"), QStringLiteral("crane-log.md")}));
    QStringList named;
    for (const auto& [window, page] : nkp::ui::helpPages())
        named << window;
    QVERIFY(named.contains(QStringLiteral("Form_Archive")) && named.contains(QStringLiteral("Form_Print")));
    for (const auto& [window, page] : nkp::ui::helpPages())
        QVERIFY2(QFileInfo(guideFile(page)).size() > 0, qPrintable(page));

    // Every link of every page leads to a page or a picture that is there.
    const QRegularExpression link(QStringLiteral("\\]\\(([^)#]+)\\)"));
    int pictures = 0;
    QDirIterator it(nkp::ui::guideDirectory(), {QStringLiteral("*.md")});
    while (it.hasNext()) {
        QFile page(it.next());
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(page.readAll());
        for (const QRegularExpressionMatch& m : link.globalMatch(text)) {
            const QString target = m.captured(1);
            if (target.startsWith(QStringLiteral("http")))
                continue;
            pictures += target.endsWith(QStringLiteral(".png"));
            QVERIFY2(QFileInfo::exists(guideFile(target)),
                qPrintable(page.fileName() + QStringLiteral(": ") + target));
        }
    }
    QVERIFY(pictures >= 9);
}

void TestConventions::f1OpensThePageOfTheWindowInUse()
{
    MainWindowFixture f;
    TForm_TPB140CMain& w = *f.window;
    QVERIFY(activate(w));
    control<QTabWidget>(w, "PageControl_Main")->setCurrentIndex(1);
    QTest::keyClick(&w, Qt::Key_F1);
    TForm_Help* help = shownHelp();
    QVERIFY(help);
    QCOMPARE(help->currentPage(), QStringLiteral("tab-charts.md"));
    // The Markdown is shown as a document, not as its source.
    QVERIFY(help->browser()->toPlainText().startsWith(
        QStringLiteral("Вкладка «Циклическая информация (графики)»")));

    control<QAction>(w, "Menu_Fleet")->trigger();
    auto* fleet = w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"));
    QVERIFY(fleet && activate(*fleet));
    QTest::keyClick(fleet, Qt::Key_F1);
    QVERIFY(shownHelp());
    QCOMPARE(shownHelp()->currentPage(), QStringLiteral("fleet.md"));
    shownHelp()->close();
    fleet->close();

    // "О программе": version, build date and every library's licence.
    control<QAction>(w, "N_About")->trigger();
    const QString about = QString::fromStdString(f.prompts.callsOf("information").back().text);
    for (const char* part : {"Версия 1.", "сборка от", "Qt 6", "QCustomPlot", "OpenSSL", "zstd", "LGPL"})
        QVERIFY2(about.contains(QString::fromUtf8(part)), part);
}

// A picture of a whole window is shown at the page's width, narrower or
// wider as the help window is resized, never wider than the picture itself.
void TestConventions::helpPicturesFitThePage()
{
    TForm_Help help;
    help.show();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    help.showPage(QStringLiteral("archive.md"));
    const auto pictureWidth = [&help] {
        QTextDocument* document = help.browser()->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (const QTextImageFormat f = it.fragment().charFormat().toImageFormat(); f.isValid())
                    return f.width();
        return 0.0;
    };
    const QImage picture(guideFile(QStringLiteral("images/archive.png")));
    for (const int width : {500, 900, 2000}) {
        help.resize(width, 600);
        QCoreApplication::processEvents();
        const int room = help.browser()->viewport()->width();
        QVERIFY2(pictureWidth() > 0 && pictureWidth() <= std::min<double>(room, picture.width()),
            qPrintable(QStringLiteral("%1 in %2").arg(pictureWidth()).arg(room)));
        QVERIFY(pictureWidth() >= std::min<double>(room - 40, picture.width()));
        QCOMPARE(help.browser()->horizontalScrollBar()->maximum(), 0);
    }
}

void TestConventions::recentFilesPlaceAndDroppedReadouts()
{
    MainWindowFixture f;
    // The settings are this test's own, never the user's.
    QVERIFY(nkp::ui::programSettings()->fileName().startsWith(f.dir.path()));
    const QString second = f.dir.filePath(QStringLiteral("second.nkp"));
    MainWindowFixture::writeFile(second, nkp::generator::generateDataFile(f.options));
    f.openDemo();

    // A read-out dropped on the window opens; anything else is not taken.
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(f.dir.filePath(QStringLiteral("notes.txt"))), QUrl::fromLocalFile(second)});
    QCOMPARE(nkp::ui::readoutPaths(data), QStringList {second});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &drop);
    QVERIFY(f.window->windowTitle().endsWith(QStringLiteral("[second.nkp]")));

    // "Последние файлы": newest first; an item opens its file.
    auto* recent = f.window->findChild<QMenu*>(QStringLiteral("Menu_Recent"));
    QVERIFY(recent && recent->isEnabled());
    QCOMPARE(recent->actions().size(), 2);
    QCOMPARE(recent->actions()[0]->text(), QStringLiteral("&1 second.nkp"));
    QCOMPARE(recent->actions()[1]->text(), QStringLiteral("&2 demo.nkp"));
    recent->actions()[1]->trigger();
    QVERIFY(f.window->windowTitle().endsWith(QStringLiteral("[demo.nkp]")));

    // The next window opens where and as large as the last one was closed.
    f.window->show();
    f.window->resize(780, 500);
    const QSize kept = f.window->size();
    QVERIFY(kept != f.window->maximumSize());  // not the size a new window takes
    f.window->close();
    f.window = std::make_unique<TForm_TPB140CMain>(f.prompts, f.dir.path(), ',');
    QCOMPARE(f.window->size(), kept);
    QCOMPARE(f.window->findChild<QMenu*>(QStringLiteral("Menu_Recent"))->actions().size(), 2);
}

void TestConventions::menuKeysWorkFromAnyField()
{
    MainWindowFixture f;
    CountingWindow w(f.prompts, f.dir.path(), ',');
    QVERIFY(activate(w));
    control<QTabWidget>(w, "PageControl_Main")->setCurrentIndex(0);
    auto* edit = control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_MKran");
    edit->setFocus();
    QVERIFY(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
    // Ctrl+E is the edit's end of line; the menu's "Считать..." wins.
    QTest::keyClick(edit, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(w.reads, 1);
    QCOMPARE(w.opens, 1);
    // Keys that are no menu's stay the edit's.
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_End);
    QCOMPARE(edit->cursorPosition(), edit->text().size());

    // Alt+Ф opens "Файл", Alt+С "Справка"; F10 takes the keyboard to the menu bar.
    const QList<QAction*> menus = w.menuBar()->actions();
    QCOMPARE(QKeySequence::mnemonic(menus.first()->text()), QKeySequence(Qt::ALT | Qt::Key(0x0424)));
    QCOMPARE(QKeySequence::mnemonic(w.findChild<QMenu*>(QStringLiteral("Menu_Help"))->title()),
        QKeySequence(Qt::ALT | Qt::Key(0x0421)));
    QTest::keyClick(edit, Qt::Key_F10);
    QCOMPARE(w.menuBar()->activeAction(), menus.first());
}

void TestConventions::fleetDialogsBelongToTheFleetAndEscCloses()
{
    MainWindowFixture f;
    nkp::ui::QtUserPrompts prompts(f.window.get());
    QVERIFY(activate(*f.window));
    QCOMPARE(prompts.dialogParent(), f.window.get());
    control<QAction>(*f.window, "Menu_Fleet")->trigger();
    auto* fleet = f.window->findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"));
    QVERIFY(fleet && activate(*fleet));
    // A box or file dialog opened from the fleet window stays over it.
    QCOMPARE(prompts.dialogParent(), fleet);
    QTest::keyClick(fleet, Qt::Key_Escape);
    QVERIFY(!fleet->isVisible());
}

void TestConventions::loadedReadoutAndDecodedCells()
{
    MainWindowFixture f;
    auto& constTab = *control<ConstTab>(*f.window, "TabSheet_Const");
    auto* resource = control<QLabel>(constTab, "Label_Resource");
    QVERIFY(resource->isHidden());  // the design placeholders are no crane's resource
    auto* model = control<QLineEdit>(constTab, "Edit_MKran");
    QVERIFY(model->minimumWidth() > model->fontMetrics().horizontalAdvance(QStringLiteral("КС-ХХХХХА-ХХ")));
    f.openDemo();
    QVERIFY(!resource->isHidden());
    // The selection count changes with a selection only.
    auto& frames = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    QCOMPARE(control<QLabel>(frames, "Label_O_OtbZap")->text(), QStringLiteral("0000"));
    // A click on a coded cell decodes it in the status line and the cell's tooltip.
    auto* grid = control<QTableView>(frames, "StringGrid_O_Otb");
    const QModelIndex cell = grid->model()->index(13, 0);
    emit grid->clicked(cell);
    auto* status = control<QLabel>(*f.window, "StatusBar_Main_Panel0");
    QVERIFY2(status->text().startsWith(QStringLiteral("Введенные/сработавшие ограничения ")),
        qPrintable(status->text()));
    QVERIFY(status->text().contains(QStringLiteral("; введены: ")));
    QVERIFY(cell.data(Qt::ToolTipRole).toString().contains(QStringLiteral("\nсработали: ")));
}

// Renews the guide's pictures (scripts/guide-pictures.sh) when NKP_GUIDE_PICTURES names a folder.
void TestConventions::guidePictures()
{
    const QString folder = qEnvironmentVariable("NKP_GUIDE_PICTURES");
    if (folder.isEmpty())
        QSKIP("no pictures asked for (NKP_GUIDE_PICTURES)");
    QVERIFY(QDir().mkpath(folder));
    auto save = [&folder](QWidget& w, const char* name) {
        QVERIFY(activate(w));
        QTest::qWait(100);
        QVERIFY(w.grab().save(folder + QLatin1Char('/') + QLatin1String(name)));
    };
    MainWindowFixture f(nkp::ui::systemDecimalSeparator());
    QDir(f.dir.path()).mkpath(QStringLiteral("Файлы"));
    for (int seed = 2; seed <= 4; ++seed) {
        f.options.seed = static_cast<std::uint64_t>(seed);
        MainWindowFixture::writeFile(f.dir.filePath(QStringLiteral("Файлы/%1.nkp").arg(seed)),
            nkp::generator::generateDataFile(f.options));
    }
    f.openDemo();
    auto* tabs = control<QTabWidget>(*f.window, "PageControl_Main");
    const char* names[] = {"main-const.png", "main-charts.png", "main-frames.png", "main-events.png"};
    for (int i = 0; i < 4; ++i) {
        tabs->setCurrentIndex(i);
        save(*f.window, names[i]);
    }
    TForm_ReadNKP3 reading(f.window.get(), f.prompts, f.dir.path());
    save(reading, "reading.png");
    reading.hide();
    control<QAction>(*f.window, "Menu_Fleet")->trigger();
    auto* fleet = f.window->findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"));
    QVERIFY(QTest::qWaitFor([fleet] { return !fleet->isScanning(); }, 20000));
    save(*fleet, "fleet.png");
    fleet->close();

    // The archive window over a demo archive: the crane table with the
    // selected crane's history, its log, and the due dates of every crane.
    TForm_Archive archive(
        f.prompts, f.dir.filePath(QStringLiteral("Архив/archive.sqlite")), f.dir.path(), f.window.get());
    archive.setDecimalSeparator(nkp::ui::systemDecimalSeparator());
    archive.show();
    QVERIFY(nkp::test::fillDemoArchive(archive, f.prompts, f.dir.filePath(QStringLiteral("Архив/Файлы"))));
    auto* pages = control<QTabWidget>(archive, "PageControl_Crane");
    const char* archiveNames[] = {"archive.png", "archive-log.png", "archive-due.png"};
    for (const int page : {0, 1, 3}) {
        pages->setCurrentIndex(page);
        save(archive, archiveNames[page == 3 ? 2 : page]);
    }
    archive.close();
    nkp::ui::showHelpFor(f.window.get());
    shownHelp()->showPage(QStringLiteral("tab-main-info.md"));  // a page with its picture
    save(*shownHelp(), "help.png");
}

QTEST_MAIN(TestConventions)
#include "tst_conventions.moc"
