// The fleet overview window: scanning fills the table, the filter and the
// numeric sort, double-click, export and the folder choice through the
// scripted prompts.
#include "Controls.h"
#include "FleetFolder.h"
#include "ScriptedUserPrompts.h"

#include "base/Codec.h"
#include "ui/common/ResourceColor.h"
#include "ui/fleet/Fleet.h"
#include "ui/fleet/FleetTableModel.h"

#include <QBrush>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QtTest>

#include <fstream>

using nkp::test::control;
using nkp::test::FleetFolder;

class TestFleet : public QObject {
    Q_OBJECT
private slots:
    void scanFilterSortActivateExport();
    void folderButtonAndCancel();
};

namespace {

QString cell(QSortFilterProxyModel& view, int row, const char* column)
{
    return view.index(row, nkp::test::columnOf(view, QString::fromUtf8(column))).data().toString();
}

// A double-click as the user makes it: the view takes a double-click only
// after a press on the same cell.
void doubleClick(QTableView& table, const QModelIndex& index)
{
    const QPoint at = table.visualRect(index).center();
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
}

// Waits for the window's scan to end.
void waitForScan(TForm_Fleet& w, QSignalSpy& ended, int count)
{
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), count, 10000);
    QVERIFY(!w.isScanning());
}

}  // namespace

void TestFleet::scanFilterSortActivateExport()
{
    FleetFolder f;
    for (int seed = 1; seed <= 4; ++seed)
        f.write("r" + std::to_string(seed) + ".nkp", FleetFolder::readout(static_cast<std::uint64_t>(seed)));
    std::filesystem::create_directories(f.dir / "bad.nkp");
    nkp::test::ScriptedUserPrompts prompts;
    TForm_Fleet w(prompts, QString::fromStdString(f.dir.string()));
    QCOMPARE(w.windowTitle(), QStringLiteral("Обзор парка"));
    QSignalSpy ended(&w, &TForm_Fleet::scanEnded);

    // The first showing scans the default folder.
    w.show();
    waitForScan(w, ended, 1);
    QCOMPARE(w.model().rowCount(), 5);
    QVERIFY(control<QProgressBar>(w, "ProgressBar_Scan")->isHidden());
    QVERIFY(control<QPushButton>(w, "Button_Cancel")->isHidden());
    QSortFilterProxyModel& view = w.view();
    QCOMPARE(cell(view, 0, "Файл"), QStringLiteral("bad.nkp"));
    QCOMPARE(cell(view, 0, "Примечание"), QStringLiteral("Это папка, а не файл"));
    // The resource share carries the main window's colours; a file not loaded has none.
    const auto resourceBackground = [&view](int row) {
        return view.index(row, nkp::test::columnOf(view, QStringLiteral("Ресурс, %")))
            .data(Qt::BackgroundRole);
    };
    QVERIFY(!resourceBackground(0).isValid());
    QCOMPARE(resourceBackground(1).value<QBrush>().color(),
        nkp::ui::resourceColor(nkp::analysis::ResourceLevel::Green));

    // Total cycles sort as numbers (the generated totals differ in digit count).
    control<QTableView>(w, "Table_Fleet")
        ->sortByColumn(nkp::test::columnOf(view, QStringLiteral("Всего циклов")), Qt::AscendingOrder);
    QVector<qlonglong> totals;
    for (int r = 1; r < view.rowCount(); ++r)
        totals << cell(view, r, "Всего циклов").toLongLong();
    QVERIFY(std::is_sorted(totals.begin(), totals.end()));
    QVERIFY(QString::number(totals.front()).size() != QString::number(totals.back()).size());
    QCOMPARE(cell(view, 0, "Файл"), QStringLiteral("bad.nkp"));  // no number: first
    // Counts stand right-aligned, dates read as text.
    for (const char* header : {"Всего циклов", "Перегрузок", "Перегрузок (эпизодов)", "Бракованных кадров"})
        QCOMPARE(
            view.index(1, nkp::test::columnOf(view, QString::fromUtf8(header))).data(Qt::TextAlignmentRole),
            QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter)));
    QCOMPARE(view.index(1, nkp::test::columnOf(view, QStringLiteral("Дата считывания")))
                 .data(Qt::TextAlignmentRole),
        QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)));

    // The filter looks through every column, in any letter case.
    const QString model = cell(view, 1, "Марка крана");
    int sameModel = 0;
    for (int r = 0; r < view.rowCount(); ++r)
        sameModel += cell(view, r, "Марка крана") == model;
    control<QLineEdit>(w, "Edit_Filter")->setText(model.toLower());
    QCOMPARE(view.rowCount(), sameModel);
    control<QLineEdit>(w, "Edit_Filter")->setText(QStringLiteral("ПАПКА"));
    QCOMPARE(view.rowCount(), 1);
    QCOMPARE(cell(view, 0, "Файл"), QStringLiteral("bad.nkp"));
    control<QLineEdit>(w, "Edit_Filter")->setText(QStringLiteral("r3.NKP"));
    QCOMPARE(view.rowCount(), 1);

    // A double-click hands the read-out's path on; a row that did not load does not.
    QSignalSpy activated(&w, &TForm_Fleet::readoutActivated);
    doubleClick(*control<QTableView>(w, "Table_Fleet"), view.index(0, 1));
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toString(), QString::fromStdString(f.path("r3.nkp")));
    control<QLineEdit>(w, "Edit_Filter")->setText(QStringLiteral("bad.nkp"));
    doubleClick(*control<QTableView>(w, "Table_Fleet"), view.index(0, 0));
    QCOMPARE(activated.count(), 1);

    // Export writes the rows as shown, through the save prompt.
    control<QLineEdit>(w, "Edit_Filter")->setText(QStringLiteral("r2.nkp"));
    const int shown = view.rowCount();
    QCOMPARE(shown, 1);
    prompts.fileAnswers.push_back(f.path("out.csv"));
    control<QPushButton>(w, "Button_Export")->click();
    QCOMPARE(prompts.callsOf("save").size(), std::size_t {1});
    QCOMPARE(prompts.dialogs.back().defaultExtension, std::string("csv"));
    std::ifstream in(f.path("out.csv"), std::ios::binary);
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    QVERIFY(csv.rfind("\xEF\xBB\xBF", 0) == 0);
    QCOMPARE(static_cast<int>(std::count(csv.begin(), csv.end(), '\n')), shown + 1);
    // The box says where the file went.
    QVERIFY(prompts.callsOf("information").back().text.ends_with("Файл: " + f.path("out.csv")));

    // A file that cannot be written is reported; a cancelled prompt writes nothing.
    prompts.fileAnswers.push_back(f.path("нет/такой/папки.csv"));
    w.exportCsv();
    QCOMPARE(prompts.callsOf("error").size(), std::size_t {1});
    QCOMPARE(prompts.callsOf("error")[0].caption, std::string("Обзор парка"));
    // The box names the file in the box's own code page.
    QVERIFY(prompts.callsOf("error")[0].text.find("нет/такой/папки.csv") != std::string::npos);
    w.exportCsv();
    QCOMPARE(prompts.callsOf("save").size(), std::size_t {3});
    QCOMPARE(prompts.callsOf("error").size(), std::size_t {1});
}

void TestFleet::folderButtonAndCancel()
{
    FleetFolder first, second;
    first.write("a.nkp", FleetFolder::readout(1));
    const std::vector<std::uint8_t> bytes = FleetFolder::readout(2);
    for (int i = 0; i < 200; ++i)
        second.write("sub/r" + std::to_string(i) + ".nkp", bytes);
    nkp::test::ScriptedUserPrompts prompts;
    TForm_Fleet w(prompts, QString::fromStdString(first.dir.string()));
    w.setThreadCount(1);
    QSignalSpy ended(&w, &TForm_Fleet::scanEnded);
    w.scan();
    QVERIFY(control<QProgressBar>(w, "ProgressBar_Scan")->isVisibleTo(&w));
    QVERIFY(control<QPushButton>(w, "Button_Cancel")->isVisibleTo(&w));
    waitForScan(w, ended, 1);
    QCOMPARE(w.model().rowCount(), 1);

    // A cancelled folder choice changes nothing; a chosen folder is scanned.
    control<QPushButton>(w, "Button_Folder")->click();
    QCOMPARE(prompts.callsOf("folder").size(), std::size_t {1});
    QCOMPARE(control<QLineEdit>(w, "Edit_Folder")->text(), QString::fromStdString(first.dir.string()));
    QCOMPARE(ended.count(), 1);
    // Cancel as soon as loading begins: the window keeps what was loaded and
    // no thread goes on.
    const auto cancelOnListing = connect(&w.scanner(), &nkp::fleet::FleetScan::listed, this, [&w](int count) {
        QCOMPARE(control<QProgressBar>(w, "ProgressBar_Scan")->maximum(), count);
        control<QPushButton>(w, "Button_Cancel")->click();
    });
    prompts.fileAnswers.push_back(second.dir.string());
    control<QPushButton>(w, "Button_Folder")->click();
    QCOMPARE(control<QLineEdit>(w, "Edit_Folder")->text(), QString::fromStdString(second.dir.string()));
    QVERIFY(w.isScanning());
    waitForScan(w, ended, 2);
    disconnect(cancelOnListing);
    QVERIFY(w.model().rowCount() < 200);
    QVERIFY(control<QLabel>(w, "Label_Status")->text().startsWith(QStringLiteral("Прервано")));
    QVERIFY(w.scanner().future().isCanceled());
    w.scanner().wait();
    QCOMPARE(w.scanner().pool().activeThreadCount(), 0);

    // A folder that cannot be read empties the table and says so.
    control<QLineEdit>(w, "Edit_Folder")->setText(QString::fromStdString(second.path("missing")));
    control<QPushButton>(w, "Button_Refresh")->click();
    waitForScan(w, ended, 3);
    QCOMPARE(w.model().rowCount(), 0);
    QVERIFY(
        control<QLabel>(w, "Label_Status")->text().startsWith(QStringLiteral("Папку не удалось прочитать")));
}

QTEST_MAIN(TestFleet)
#include "tst_fleet.moc"
