// The crane archive window: adding a folder in the background, the crane
// table with its filter and sort, a crane's history and chart, the CSV
// export, opening a read-out from the archive in the main window, and the
// menu item of the main window. Writes the screenshot archive.png.
#include "ArchiveDemo.h"
#include "Controls.h"
#include "MainWindowFixture.h"

#include "generator/HistoryGenerator.h"
#include "ui/archive/Archive.h"
#include "ui/archive/ArchiveCheck.h"
#include "ui/archive/ArchiveMenu.h"
#include "ui/archive/CraneViews.h"
#include "ui/archive/DueView.h"
#include "ui/archive/HistoryChart.h"
#include "ui/common/ColumnTableModel.h"
#include "ui/common/UiText.h"
#include "ui/fleet/Fleet.h"

#include "archive/Archive.h"
#include "signing/Keys.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPdfWriter>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include <qcustomplot.h>

#include <future>

using nkp::test::control;
using nkp::test::writeHistory;

class TestArchive : public QObject {
    Q_OBJECT
private slots:
    void addSelectExportOpen();
    void menuOpensTheWindowAndReadoutsLoad();
    void addressIsSetInTheWindow();
    void fleetRowsGoToTheArchive();
    void lockedArchiveLeavesTheWindowRunning();
    void cranePagesFillAndEntriesAreAdded();
};

namespace {

QString screenshotFolder()
{
    const QString configured = qEnvironmentVariable("NKP_SCREENSHOT_DIR");
    return configured.isEmpty()
        ? QCoreApplication::applicationDirPath() + QStringLiteral("/../../screenshots")
        : configured;
}

}  // namespace

void TestArchive::addSelectExportOpen()
{
    QTemporaryDir dir;
    writeHistory(dir.filePath(QStringLiteral("Файлы/A")), 7, 16, 10);
    writeHistory(dir.filePath(QStringLiteral("Файлы/B")), 8, 5, 0);
    nkp::test::ScriptedUserPrompts prompts;
    TForm_Archive w(prompts, dir.filePath(QStringLiteral("Архив/archive.sqlite")), dir.path());
    w.setDecimalSeparator(',');
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.view().rowCount(), 0);
    // No crane: a hint, no axes, no legend.
    QCOMPARE(control<nkp::ui::HistoryChart>(w, "Chart_History")->hint(), QStringLiteral("Выберите кран"));
    QVERIFY(!control<nkp::ui::HistoryChart>(w, "Chart_History")->xAxis->visible());
    QVERIFY(!control<nkp::ui::HistoryChart>(w, "Chart_History")->legend->visible());

    QSignalSpy ended(&w, &TForm_Archive::importEnded);
    prompts.fileAnswers.push_back(dir.filePath(QStringLiteral("Файлы")).toStdString());
    control<QPushButton>(w, "Button_AddFolder")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 60000);
    QVERIFY2(control<QLabel>(w, "Label_Status")
                 ->text()
                 .startsWith(QStringLiteral("Добавлено: 21, уже в архиве: 0, не прочитано: 0")),
        qPrintable(control<QLabel>(w, "Label_Status")->text()));
    QCOMPARE(w.view().rowCount(), 2);

    // Again: nothing new.
    w.addPaths({dir.filePath(QStringLiteral("Файлы")).toStdString()});
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, 60000);
    QVERIFY(control<QLabel>(w, "Label_Status")
                ->text()
                .startsWith(QStringLiteral("Добавлено: 0, уже в архиве: 21")));
    QCOMPARE(control<nkp::ui::HistoryChart>(w, "Chart_History")->hint(), QStringLiteral("Выберите кран"));

    // The crane with 16 read-outs, found by the filter on its number.
    const auto& rows = w.rows();
    const auto big
        = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.readouts.size() == 16; });
    QVERIFY(big != rows.end());
    control<QLineEdit>(w, "Edit_Filter")
        ->setText(QString::fromStdString(nkp::codec::cp1251ToUtf8(big->number)));
    QCOMPARE(w.view().rowCount(), 1);
    control<QTableView>(w, "Table_Cranes")->selectRow(0);
    control<QTableView>(w, "Table_Cranes")->setCurrentIndex(w.view().index(0, 0));
    QTRY_COMPARE(control<QTableView>(w, "Table_History")->model()->rowCount(), 16);
    // Read-outs, trend and the normative number (a line, or named in the label when far above).
    QVERIFY(control<QCustomPlot>(w, "Chart_History")->graphCount() == 3
        || control<nkp::ui::HistoryChart>(w, "Chart_History")
               ->forecastLabel()
               .contains(QStringLiteral("Нормативное число")));  // read-outs, trend, normative number
    QCOMPARE(control<QCustomPlot>(w, "Chart_History")->graph(0)->dataCount(), 16);
    // The read-outs take the width; the whole horizon runs on to the forecast.
    auto* chart = control<nkp::ui::HistoryChart>(w, "Chart_History");
    QVERIFY(chart->hint().isEmpty());
    QVERIFY(chart->forecastLabel().startsWith(QStringLiteral("Прогноз: ")));
    const double newest = chart->graph(0)->data()->at(15)->key, oldest = chart->graph(0)->data()->at(0)->key;
    QVERIFY(chart->xAxis->range().upper < newest + (newest - oldest) * 0.5);
    control<QCheckBox>(w, "CheckBox_Horizon")->setChecked(true);
    QVERIFY(chart->xAxis->range().upper > newest + (newest - oldest) * 0.5);
    control<QCheckBox>(w, "CheckBox_Horizon")->setChecked(false);
    QVERIFY(w.view()
                .index(0, static_cast<int>(nkp::archive::CraneColumn::Remark))
                .data()
                .toString()
                .contains(QStringLiteral("ограничитель заменён: 1")));

    const QString folder = screenshotFolder();
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("archive.png"))));

    // The export holds the rows as shown.
    const QString csv = dir.filePath(QStringLiteral("cranes.csv"));
    prompts.fileAnswers.push_back(csv.toStdString());
    w.exportCsv();
    QTRY_VERIFY(QFileInfo::exists(csv));  // written whole, then renamed into place
    QTRY_COMPARE(
        control<QLabel>(w, "Label_Status")->text(), QStringLiteral("Таблица кранов записана в файл: ") + csv);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(text.count("\r\n"), 2);

    // A read-out opens from the archive, byte for byte.
    QSignalSpy opened(&w, &TForm_Archive::readoutActivated);
    const QAbstractItemModel& history = *control<QTableView>(w, "Table_History")->model();
    emit control<QTableView>(w, "Table_History")->doubleClicked(history.index(3, 0));
    QTRY_COMPARE(opened.count(), 1);
    const QString path = opened.at(0).at(0).toString();
    const QString name
        = history.index(3, static_cast<int>(nkp::archive::HistoryColumn::File)).data().toString();
    QCOMPARE(QFileInfo(path).fileName(), name);
    QFile original(dir.filePath(QStringLiteral("Файлы/A/") + name));
    QFile restored(path);
    QVERIFY(original.open(QIODevice::ReadOnly) && restored.open(QIODevice::ReadOnly));
    QCOMPARE(restored.readAll(), original.readAll());
}

void TestArchive::menuOpensTheWindowAndReadoutsLoad()
{
    MainWindowFixture f;
    writeHistory(f.dir.filePath(QStringLiteral("Файлы/История")), 3, 4, 0);
    QAction* action = f.window->findChild<QAction*>(QStringLiteral("Menu_Archive"));
    QVERIFY(action);
    QCOMPARE(action->text(), QStringLiteral("Архив кранов..."));
    QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    QVERIFY(control<QMenu>(*f.window, "Menu_File")->actions().contains(action));
    action->trigger();
    auto* form = f.window->findChild<TForm_Archive*>(QStringLiteral("Form_Archive"));
    QVERIFY(form);
    QVERIFY(form->isVisible());
    // Opening the window reads; only adding makes the archive.
    QVERIFY(!QFileInfo::exists(f.dir.filePath(QStringLiteral("Архив/archive.sqlite"))));
    QTRY_VERIFY2(control<QLabel>(*form, "Label_Status")->text().contains(QStringLiteral("архив не найден")),
        qPrintable(control<QLabel>(*form, "Label_Status")->text()));
    QSignalSpy ended(form, &TForm_Archive::importEnded);
    form->addPaths({f.dir.filePath(QStringLiteral("Файлы/История")).toStdString()});
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 60000);
    control<QTableView>(*form, "Table_Cranes")->setCurrentIndex(form->view().index(0, 0));
    const QAbstractItemModel& history = *control<QTableView>(*form, "Table_History")->model();
    QTRY_COMPARE(history.rowCount(), 4);
    emit control<QTableView>(*form, "Table_History")->doubleClicked(history.index(1, 0));
    const QString shown
        = history.index(1, static_cast<int>(nkp::archive::HistoryColumn::File)).data().toString();
    QTRY_VERIFY2(f.window->windowTitle().contains(shown), qPrintable(f.window->windowTitle()));
    form->close();
}

QTEST_MAIN(TestArchive)
// The address typed into the window is used at once and kept for the next
// start; an empty one returns to the default; NKP_ARCHIVE overrides both.
void TestArchive::addressIsSetInTheWindow()
{
    QStandardPaths::setTestModeEnabled(true);  // settings of their own
    QSettings().remove(QStringLiteral("archive/location"));
    const QByteArray environment = qgetenv("NKP_ARCHIVE");
    qunsetenv("NKP_ARCHIVE");
    QTemporaryDir dir;
    const QString fallback = nkp::ui::archiveLocation(dir.path());
    QCOMPARE(fallback, dir.filePath(QStringLiteral("Архив/archive.sqlite")));
    nkp::test::ScriptedUserPrompts prompts;
    {
        TForm_Archive w(prompts, fallback, dir.path());
        QCOMPARE(control<QLineEdit>(w, "Edit_Location")->text(), fallback);
        QVERIFY(!control<QLineEdit>(w, "Edit_Location")->isReadOnly());
        const QString other = dir.filePath(QStringLiteral("other.sqlite"));
        control<QLineEdit>(w, "Edit_Location")->setText(QStringLiteral("  ") + other);
        control<QPushButton>(w, "Button_Location")->click();
        QCOMPARE(w.location(), other);
        QCOMPARE(nkp::ui::archiveLocation(dir.path()), other);
        QTRY_VERIFY2(control<QLabel>(w, "Label_Status")->text().contains(QStringLiteral("архив не найден")),
            qPrintable(control<QLabel>(w, "Label_Status")->text()));
        QVERIFY(!QFile::exists(other));
        control<QLineEdit>(w, "Edit_Location")->clear();
        control<QPushButton>(w, "Button_Location")->click();
        QCOMPARE(w.location(), fallback);
        QCOMPARE(control<QLineEdit>(w, "Edit_Location")->text(), fallback);
        QVERIFY(!QSettings().contains(QStringLiteral("archive/location")));
    }
    nkp::ui::setArchiveLocationSetting(dir.filePath(QStringLiteral("set.sqlite")));
    const QString fixed = dir.filePath(QStringLiteral("env.sqlite"));
    qputenv("NKP_ARCHIVE", fixed.toUtf8());
    QCOMPARE(nkp::ui::archiveLocation(dir.path()), fixed);
    {
        TForm_Archive w(prompts, nkp::ui::archiveLocation(dir.path()), dir.path());
        QVERIFY(control<QLineEdit>(w, "Edit_Location")->isReadOnly());
        QVERIFY(!control<QPushButton>(w, "Button_Location")->isEnabled());
        w.applyLocation();
        QCOMPARE(w.location(), fixed);
    }
    QSettings().remove(QStringLiteral("archive/location"));
    if (environment.isEmpty())
        qunsetenv("NKP_ARCHIVE");
    else
        qputenv("NKP_ARCHIVE", environment);
}

// "Добавить в архив" in the fleet overview: the rows shown that loaded go
// into the archive, imported by the archive window in the background; a file
// the overview lists as damaged is named there with its cause.
void TestArchive::fleetRowsGoToTheArchive()
{
    MainWindowFixture f;
    writeHistory(f.dir.filePath(QStringLiteral("Файлы/История")), 5, 3, 0);
    MainWindowFixture::writeFile(
        f.dir.filePath(QStringLiteral("Файлы/плохой.nkp")), std::vector<std::uint8_t>(10, 1));
    control<QAction>(*f.window, "Menu_Fleet")->trigger();
    auto* fleet = f.window->findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"));
    QVERIFY(fleet);
    QTRY_VERIFY_WITH_TIMEOUT(!fleet->isScanning(), 20000);
    QCOMPARE(fleet->view().rowCount(), 4);
    QVERIFY(control<QPushButton>(*fleet, "Button_AddToArchive")->isEnabled());
    control<QPushButton>(*fleet, "Button_AddToArchive")->click();
    auto* form = f.window->findChild<TForm_Archive*>(QStringLiteral("Form_Archive"));
    QVERIFY(form);
    QVERIFY(form->isVisible());
    if (form->isImporting()) {
        QSignalSpy ended(form, &TForm_Archive::importEnded);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 60000);
    }
    QVERIFY2(control<QLabel>(*form, "Label_Status")
                 ->text()
                 .startsWith(QStringLiteral("Добавлено: 3, уже в архиве: 0, не прочитано: 1; ")),
        qPrintable(control<QLabel>(*form, "Label_Status")->text()));
    QCOMPARE(form->rows().size(), std::size_t {1});
    QCOMPARE(form->rows().front().readouts.size(), std::size_t {3});
    form->close();
    fleet->close();
}

namespace {

// Another program holding the archive's write lock (in rollback-journal
// mode, where it keeps readers out as well) until stop().
class LockHolder {
public:
    explicit LockHolder(const QString& path)
    {
        process_.start(QStringLiteral("python3"),
            {QStringLiteral("-c"),
                QStringLiteral("import sqlite3, sys\n"
                               "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                               "c.execute('PRAGMA journal_mode = DELETE')\n"
                               "c.execute('BEGIN EXCLUSIVE')\n"
                               "print('locked', flush=True)\n"
                               "sys.stdin.read()\n"),
                path});
    }
    ~LockHolder() { stop(); }
    bool locked() { return process_.waitForReadyRead(10000) && process_.readAll().startsWith("locked"); }
    void stop()
    {
        process_.closeWriteChannel();
        process_.waitForFinished(10000);
    }

private:
    QProcess process_;
};

}  // namespace

// While another program holds the archive's lock the window goes on
// handling events, says that the archive is busy, reads it once the lock is
// gone, and closes at once while a call still waits.
void TestArchive::lockedArchiveLeavesTheWindowRunning()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    QVERIFY(std::async(std::launch::async, [&path] {
        return nkp::archive::Archive::open(path.toStdString(), nkp::archive::OpenMode::CreateIfMissing).ok();
    }).get());
    nkp::test::ScriptedUserPrompts prompts;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(10);
    {
        LockHolder lock(path);
        QVERIFY(lock.locked());
        TForm_Archive w(prompts, path, dir.path());
        w.show();
        QTRY_COMPARE_WITH_TIMEOUT(
            control<QLabel>(w, "Label_Status")->text(), QStringLiteral("Архив занят…"), 5000);
        const int before = ticks;
        QTest::qWait(300);
        QVERIFY2(ticks > before + 10, qPrintable(QString::number(ticks - before)));
        lock.stop();
        QTRY_COMPARE_WITH_TIMEOUT(
            control<QLabel>(w, "Label_Status")->text(), QStringLiteral("Кранов: 0, чтений: 0"), 10000);
    }
    LockHolder lock(path);
    QVERIFY(lock.locked());
    auto w = std::make_unique<TForm_Archive>(prompts, path, dir.path());
    w->show();
    QTRY_COMPARE_WITH_TIMEOUT(
        control<QLabel>(*w, "Label_Status")->text(), QStringLiteral("Архив занят…"), 5000);
    QElapsedTimer closing;
    closing.start();
    w.reset();
    QVERIFY2(closing.elapsed() < 1000, qPrintable(QString::number(closing.elapsed())));
}

// The crane's log, remarks, settings and report and the due list over all
// cranes, filled from an archive made here; an entry added by hand appears
// in the log with the author taken from the reading window's last
// identification. Writes a screenshot of each page.
void TestArchive::cranePagesFillAndEntriesAreAdded()
{
    QStandardPaths::setTestModeEnabled(true);  // settings of their own
    QSettings().remove(QStringLiteral("executor"));
    QTemporaryDir dir;
    writeHistory(dir.filePath(QStringLiteral("Файлы/A")), 7, 6, 0);
    writeHistory(dir.filePath(QStringLiteral("Файлы/B")), 8, 3, 0);
    QDir().mkpath(dir.filePath(QStringLiteral("Inf")));
    std::string inf;
    for (int i = 1; i <= 13; ++i)
        inf += (i == 2 ? nkp::ui::cp1251("Сидоров С.С.") : i == 3 ? nkp::ui::cp1251("У-5") : "x") + "\r\n";
    MainWindowFixture::writeFile(
        dir.filePath(QStringLiteral("Inf/Default.inf")), std::vector<std::uint8_t>(inf.begin(), inf.end()));

    nkp::test::ScriptedUserPrompts prompts;
    TForm_Archive w(prompts, dir.filePath(QStringLiteral("archive.sqlite")), dir.path());
    w.setToday({2040, 1, 1, 0, 0, 0});
    QStringList previews;
    w.setPreview([&previews](const QString& title, const nkp::ui::ArchiveRender& render) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        previews << title + (render(pdf) ? QString() : QStringLiteral(": failed"));
    });
    w.show();
    QSignalSpy ended(&w, &TForm_Archive::importEnded);
    w.addPaths({dir.filePath(QStringLiteral("Файлы")).toStdString()});
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 60000);

    // Five items per crane, all readings overdue by 2040.
    QTRY_COMPARE(w.dueView().shownRows().size(), std::size_t {10});
    control<QComboBox>(w, "ComboBox_DueState")->setCurrentText(QStringLiteral("просрочено"));
    QVERIFY(!w.dueView().shownRows().empty());
    for (const auto& row : w.dueView().shownRows())
        QCOMPARE(row.due.status, nkp::archive::DueStatus::Overdue);
    const QString dueCsv = dir.filePath(QStringLiteral("due.csv"));
    prompts.fileAnswers.push_back(dueCsv.toStdString());
    control<QPushButton>(w, "Button_DueExport")->click();
    QTRY_COMPARE(
        control<QLabel>(w, "Label_Status")->text(), QStringLiteral("Сроки записаны в файл: ") + dueCsv);
    QFile due(dueCsv);
    QVERIFY(due.open(QIODevice::ReadOnly));
    QCOMPARE(due.readAll().count("просрочено"), qsizetype(w.dueView().shownRows().size()));
    w.dueView().print();
    QCOMPARE(previews, QStringList {QStringLiteral("Сроки на 01.01.2040")});

    const auto six = std::find_if(
        w.rows().begin(), w.rows().end(), [](const auto& r) { return r.readouts.size() == 6; });
    QVERIFY(six != w.rows().end());
    control<QTableView>(w, "Table_Cranes")->setCurrentIndex(w.view().index(int(six - w.rows().begin()), 0));
    // A "Считывание" entry per read-out.
    QTRY_COMPARE(w.logView().model().rowCount(), 6);

    prompts.formAnswers.push_back({"15.03.2024", "Ремонт", "Заменён канат", "Петров П.П.", "Н-17", ""});
    control<QPushButton>(w, "Button_AddEntry")->click();
    QTRY_COMPARE(w.logView().model().rowCount(), 7);
    const auto& added = w.logView().entries().back();
    QCOMPARE(added.text, std::string("Заменён канат"));
    QCOMPARE(added.kind, nkp::archive::LogKind::Repair);
    QCOMPARE(added.author, (nkp::archive::LogAuthor {"Петров П.П.", "Н-17"}));
    // The form was filled from the reading window's identification; the next one from the setting.
    QCOMPARE(prompts.forms.back()[3].value, std::string("Сидоров С.С."));
    QCOMPARE(prompts.forms.back()[4].value, std::string("У-5"));
    QCOMPARE(nkp::ui::logAuthor(dir.path()), added.author);

    // A reading interval of one month makes the gaps between read-outs remarks.
    prompts.formAnswers.push_back({"1", "12", "36", ""});
    control<QPushButton>(w, "Button_Settings")->click();
    QTRY_COMPARE(control<QLabel>(w, "Label_Status")->text(), QStringLiteral("Настройки крана сохранены"));
    w.remarksView().showCrane(w.logView().crane());
    QTRY_VERIFY(w.remarksView().model().rowCount() > 0);
    QString remarks;
    for (int r = 0; r < w.remarksView().model().rowCount(); ++r)
        remarks += w.remarksView().model().index(r, 4).data().toString() + QLatin1Char('\n');
    QVERIFY2(remarks.contains(QStringLiteral("перерыв")), qPrintable(remarks));

    control<QPushButton>(w, "Button_Report")->click();
    QTRY_COMPARE(previews.size(), 2);
    QVERIFY2(previews.back().startsWith(QStringLiteral("Отчёт по крану")), qPrintable(previews.back()));

    const QString folder = screenshotFolder();
    QVERIFY(QDir().mkpath(folder));
    auto* pages = control<QTabWidget>(w, "PageControl_Crane");
    const char* names[]
        = {"archive-history.png", "archive-log.png", "archive-remarks.png", "archive-due.png"};
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QCoreApplication::processEvents();
        QVERIFY(w.grab().save(QDir(folder).filePath(QString::fromLatin1(names[i]))));
    }

    // "Доверять ключу..." and "Проверить архив": the archive holds, until a
    // read-out is changed by hand (its triggers dropped first).
    const std::string pub = dir.filePath(QStringLiteral("k.pub")).toStdString();
    QVERIFY(nkp::signing::writeNewKey(dir.filePath(QStringLiteral("k.key")).toStdString(), "Петров", ""));
    prompts.fileAnswers.push_back(pub);
    control<QPushButton>(w, "Button_Trust")->click();
    QTRY_VERIFY(
        control<QLabel>(w, "Label_Status")->text().startsWith(QStringLiteral("Ключ добавлен в доверенные")));
    const auto verify = [&] {
        QSignalSpy checked(&w.check(), &nkp::ui::ArchiveCheck::verifyEnded);
        control<QPushButton>(w, "Button_Verify")->click();
        QVERIFY(control<QProgressBar>(w, "ProgressBar_Import")->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(checked.count(), 1, 60000);
        QVERIFY(!control<QProgressBar>(w, "ProgressBar_Import")->isVisible());
    };
    verify();
    QVERIFY2(control<QLabel>(w, "Label_Status")
                 ->text()
                 .startsWith(QStringLiteral("архив не изменён: строк реестра 21")),
        qPrintable(control<QLabel>(w, "Label_Status")->text()));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("hand"));
        db.setDatabaseName(dir.filePath(QStringLiteral("archive.sqlite")));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("DROP TRIGGER readouts_no_update")));
        QVERIFY(q.exec(QStringLiteral("UPDATE readouts SET owner = 'x' WHERE id = 3")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("hand"));
    const auto errors = prompts.calls.size();
    verify();
    QVERIFY2(
        control<QLabel>(w, "Label_Status")->text().startsWith(QStringLiteral("архив изменён: считывание №3")),
        qPrintable(control<QLabel>(w, "Label_Status")->text()));
    QCOMPARE(prompts.calls.size(), errors + 1);
    QCOMPARE(prompts.calls.back().kind, std::string("error"));
    pages->setCurrentIndex(0);
    w.resize(1366, 768);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(QDir(folder).filePath(QStringLiteral("archive-verify-changed.png"))));
    QSettings().remove(QStringLiteral("executor"));
}

#include "tst_archive.moc"
