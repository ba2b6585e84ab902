// The frames table: selections with their edge cases, the yellow and red
// load cells, and the key filter of the number edits.
#include "Controls.h"
#include "MainWindowFixture.h"
#include "analysis/FrameFieldTexts.h"

#include "ui/main/FrameGridDelegate.h"
#include "ui/main/FramesTab.h"

#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>

using nkp::test::control;

namespace {

const char* const kNothingFound = "Кадров удовлетворяющих условию не обнаружено!";

}  // namespace

class TestFramesTable : public QObject {
    Q_OBJECT
private slots:
    void rangeSelections();
    void rangeLimitsAndHugeNumbers();
    void emptyEditKeepsSelection();
    void loadSelectionAfterClearAll();
    void dateSelections();
    void selectionsBeforeLoading();
    void loadCellColours();
    void keyFilter();
    void exportFollowsCurrentOrder();

private:
    static void range(MainWindowFixture& f, const char* from, const char* to)
    {
        FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
        control<QLineEdit>(t, "Edit_KHome")->setText(QString::fromLatin1(from));
        control<QLineEdit>(t, "Edit_KEnd")->setText(QString::fromLatin1(to));
        control<QPushButton>(t, "BitBtn_DKadr")->click();
    }
    static QString cell(MainWindowFixture& f, int row, int col)
    {
        return control<QTableView>(*control<FramesTab>(*f.window, "TabSheet_Cikl"), "StringGrid_O_Otb")
            ->model()
            ->index(row, col)
            .data()
            .toString();
    }
};

void TestFramesTable::rangeSelections()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    range(f, "0", "40");
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("41"));
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->maximum(), 36);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 36);
    const nkp::screen::MainState& s = f.window->state();
    for (int c = 0; c < 5; ++c)
        QCOMPARE(cell(f, 0, c), s.recordAt(36 + c).isOk() ? QString::number(36 + c) : QString());

    range(f, "5", "5");
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("1"));
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->maximum(), 5);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 0);
    QCOMPARE(cell(f, 0, 0), s.recordAt(5).isOk() ? QStringLiteral("5") : QString());
    for (int c = 1; c < 5; ++c)
        QCOMPARE(cell(f, 0, c), QString());
    // Scrolling runs over the selected list only.
    control<QScrollBar>(t, "ScrollBar_Cikl")->setValue(5);
    QCOMPARE(cell(f, 0, 0), QString());

    // "по" below "с": refused with a message; the selection, the count and
    // the table stay as they were.
    control<QScrollBar>(t, "ScrollBar_Cikl")->setValue(0);
    const std::vector<int> order = s.FrameOrder;
    const QString first = cell(f, 0, 0);
    range(f, "40", "0");
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("1"));
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->maximum(), 5);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 0);
    QCOMPARE(s.FrameOrder, order);
    QCOMPARE(cell(f, 0, 0), first);
    const auto errors = f.prompts.callsOf("error");
    QCOMPARE(errors.size(), std::size_t {1});
    QCOMPARE(errors[0].text, std::string("Начальный кадр больше конечного"));
    control<QScrollBar>(t, "ScrollBar_Cikl")->setValue(1);
    QCOMPARE(cell(f, 0, 0), QString());
}

void TestFramesTable::rangeLimitsAndHugeNumbers()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    // A "по" beyond the last position counts as 10999, even with more digits than any integer holds.
    range(f, "10990", "99999999999999999999999999");
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("10"));
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 5);
    QVERIFY(f.prompts.callsOf("information").empty());
    // A "с" beyond the last position selects nothing.
    range(f, "11000", "12000");
    const auto infos = f.prompts.callsOf("information");
    QCOMPARE(infos.size(), std::size_t {1});
    QCOMPARE(infos[0].text, std::string(kNothingFound));
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("0"));
    // The scroll bar stays; the emptied list shows at the next fill.
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 5);
    t.ScrollBar_CiklChange();
    QCOMPARE(cell(f, 0, 0), QString());
}

void TestFramesTable::emptyEditKeepsSelection()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    range(f, "0", "40");
    const std::vector<int> order = f.window->state().FrameOrder;
    range(f, "", "40");
    control<QLineEdit>(t, "Edit_Mmax")->clear();
    control<QPushButton>(t, "BitBtn_MaxM")->click();
    const auto errors = f.prompts.callsOf("error");
    QCOMPARE(errors.size(), std::size_t {2});
    QCOMPARE(errors[0].text, std::string("Введите число"));
    QCOMPARE(f.window->state().FrameOrder, order);
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("41"));
}

void TestFramesTable::loadSelectionAfterClearAll()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    const nkp::screen::MainState& s = f.window->state();
    control<QLineEdit>(t, "Edit_Mmax")->setText(QStringLiteral("100"));
    control<QPushButton>(t, "BitBtn_MaxM")->click();
    const int overloaded = control<QLabel>(t, "Label_O_OtbZap")->text().toInt();
    for (int c = 0; c < 5; ++c) {
        const QString percent = cell(f, 9, c);
        QVERIFY(percent.isEmpty() || percent.toInt() >= 100);
    }
    int expected = 0;
    for (int p = 0; p < 11000; ++p)
        expected += s.recordAt(p).isOk() && s.recordAt(p).LoadPercent >= 100;
    QCOMPARE(overloaded, expected);

    // After "Очистить" no record is marked broken: threshold 0 lists all, shown empty.
    control<QAction>(*f.window, "Menu_Clear")->trigger();
    control<QLineEdit>(t, "Edit_Mmax")->setText(QStringLiteral("0"));
    control<QPushButton>(t, "BitBtn_MaxM")->click();
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("11000"));
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10995);
    QCOMPARE(cell(f, 0, 0), QString());
}

void TestFramesTable::dateSelections()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    const nkp::screen::MainState& s = f.window->state();
    const QString day = QString::fromStdString(nkp::analysis::frameDateText(s.recordAt(10999)));
    control<QDateEdit>(t, "DateTimePicker_Data")
        ->setDate(QDate::fromString(day, QStringLiteral("dd.MM.yyyy")));
    control<QPushButton>(t, "BitBtn_DataSel")->click();
    QVERIFY(control<QLabel>(t, "Label_O_OtbZap")->text().toInt() > 0);
    for (int c = 0; c < 5; ++c)
        QCOMPARE(cell(f, 1, c), day);

    control<QDateEdit>(t, "DateTimePicker_Data")->setDate(QDate(2001, 2, 3));
    control<QPushButton>(t, "BitBtn_DataSel")->click();
    const auto infos = f.prompts.callsOf("information");
    QCOMPARE(infos.size(), std::size_t {1});
    QCOMPARE(infos[0].text, std::string(kNothingFound));
}

void TestFramesTable::selectionsBeforeLoading()
{
    MainWindowFixture f;
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    control<QPushButton>(t, "BitBtn_MaxM")->click();
    control<QPushButton>(t, "BitBtn_DataSel")->click();
    QCOMPARE(f.prompts.callsOf("information").size(), std::size_t {2});
    range(f, "0", "40");
    QCOMPARE(cell(f, 0, 0), QString());  // positions listed, frames never loaded
}

void TestFramesTable::loadCellColours()
{
    QVERIFY(!FrameGridDelegate::highlightOf(QStringLiteral("89")).isValid());
    QCOMPARE(FrameGridDelegate::highlightOf(QStringLiteral("90")), QColor(Qt::yellow));
    QCOMPARE(FrameGridDelegate::highlightOf(QStringLiteral("99")), QColor(Qt::yellow));
    QCOMPARE(FrameGridDelegate::highlightOf(QStringLiteral("100")), QColor(Qt::red));
    QCOMPARE(FrameGridDelegate::highlightOf(QStringLiteral("150")), QColor(Qt::red));
    QVERIFY(!FrameGridDelegate::highlightOf(QString()).isValid());
    QVERIFY(!FrameGridDelegate::highlightOf(QStringLiteral("-120")).isValid());

    // Painted: the fill covers the cell of row 9 only.
    QStandardItemModel cells(16, 5);
    cells.setItem(9, 0, new QStandardItem(QStringLiteral("95")));
    cells.setItem(9, 1, new QStandardItem(QStringLiteral("100")));
    cells.setItem(9, 2, new QStandardItem(QStringLiteral("89")));
    cells.setItem(8, 3, new QStandardItem(QStringLiteral("120")));
    QTableView table;
    QTableView* grid = &table;
    grid->setModel(&cells);
    grid->setItemDelegate(new FrameGridDelegate(grid));
    grid->resize(800, 400);
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid));
    const QImage image = grid->viewport()->grab().toImage();
    const auto pixelAt = [&](int row, int col) {
        const QRect r = grid->visualRect(grid->model()->index(row, col));
        return image.pixelColor(r.right() - 3, r.bottom() - 2);
    };
    QCOMPARE(pixelAt(9, 0), QColor(Qt::yellow));
    QCOMPARE(pixelAt(9, 1), QColor(Qt::red));
    QVERIFY(pixelAt(9, 2) != QColor(Qt::yellow) && pixelAt(9, 2) != QColor(Qt::red));
    QVERIFY(pixelAt(8, 3) != QColor(Qt::red));
}

void TestFramesTable::keyFilter()
{
    QVERIFY(FramesTab::Edit_KeyPress(QLatin1Char('0')) && FramesTab::Edit_KeyPress(QLatin1Char('9')));
    QVERIFY(FramesTab::Edit_KeyPress(QChar(8)));
    QVERIFY(!FramesTab::Edit_KeyPress(QLatin1Char('-')) && !FramesTab::Edit_KeyPress(QLatin1Char(' ')));
    QVERIFY(!FramesTab::Edit_KeyPress(QChar(0x0663)));  // an Arabic-Indic digit

    MainWindowFixture f;
    QLineEdit* e = control<QLineEdit>(*control<FramesTab>(*f.window, "TabSheet_Cikl"), "Edit_KEnd");
    e->setCursorPosition(e->text().size());
    QTest::keyClicks(e, QStringLiteral("-a 7"));
    QCOMPARE(e->text(), QStringLiteral("407"));
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), QStringLiteral("4"));
    e->clear();
    e->insert(QStringLiteral("1x2"));  // pasted text is held to digits too
    QVERIFY(e->text().isEmpty() || e->text() == QStringLiteral("12") || e->text() == QStringLiteral("1"));
}

void TestFramesTable::exportFollowsCurrentOrder()
{
    MainWindowFixture f;
    f.openDemo();
    const auto exportTo = [&f](const QString& path) {
        f.prompts.fileAnswers.push_back(QFile::encodeName(path).toStdString());
        control<QAction>(*f.window, "Menu_ExportFrames")->trigger();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray> {};
    };
    const QList<QByteArray> all = exportTo(f.dir.filePath(QStringLiteral("all.csv")));
    QCOMPARE(all.size(), 11002);  // header, 11000 frames, nothing after the last line end
    QVERIFY(all[1].startsWith("0;"));
    QVERIFY(all[11000].startsWith("10999;"));
    QCOMPARE(f.prompts.dialogs.back().fileName, std::string("demo.csv"));

    // A selection exports just its frames, the same lines as the full export.
    range(f, "5", "7");
    const QList<QByteArray> some = exportTo(f.dir.filePath(QStringLiteral("some.csv")));
    QCOMPARE(some.size(), 5);
    QCOMPARE(some[0], all[0]);
    for (int k = 1; k <= 3; ++k)
        QCOMPARE(some[k], all[k + 5]);
    QCOMPARE(some[4], QByteArray());

    // Cancelling writes nothing; an unwritable place gives an error box and no file.
    const std::size_t saves = f.prompts.callsOf("save").size();
    control<QAction>(*f.window, "Menu_ExportFrames")->trigger();
    QCOMPARE(f.prompts.callsOf("save").size(), saves + 1);
    QVERIFY(f.prompts.callsOf("error").empty());
    const QString bad = f.dir.filePath(QStringLiteral("missing/folder/x.csv"));
    QVERIFY(exportTo(bad).isEmpty());
    QCOMPARE(f.prompts.callsOf("error").size(), std::size_t {1});
    QVERIFY(!QFile::exists(bad));
}

QTEST_MAIN(TestFramesTable)
#include "tst_framestable.moc"
