// The frames table's keyboard and mouse: Enter in the selection edits, the
// wheel and PageUp/PageDown over the table, the date picker after loading,
// and the selection count of a new read-out.
#include "Controls.h"
#include "MainWindowFixture.h"

#include "ui/main/FramesTab.h"

#include <QAbstractItemModelTester>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>

using nkp::test::control;

class TestFramesPaging : public QObject {
    Q_OBJECT
private slots:
    void enterAppliesSelection();
    void wheelAndPageKeysPage();
    void loadingResetsCountAndDate();
    void typingADay();

private:
    static void wheel(QWidget* target, int delta)
    {
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(target, &event);
    }
};

void TestFramesPaging::enterAppliesSelection()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    control<QLineEdit>(t, "Edit_KHome")->setText(QStringLiteral("0"));
    control<QLineEdit>(t, "Edit_KEnd")->setText(QStringLiteral("40"));
    QTest::keyClick(control<QLineEdit>(t, "Edit_KEnd"), Qt::Key_Return);
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("41"));
    control<QLineEdit>(t, "Edit_KEnd")->setText(QStringLiteral("9"));
    QTest::keyClick(control<QLineEdit>(t, "Edit_KHome"), Qt::Key_Enter);
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("10"));

    control<QLineEdit>(t, "Edit_Mmax")->setText(QStringLiteral("0"));
    QTest::keyClick(control<QLineEdit>(t, "Edit_Mmax"), Qt::Key_Return);
    const nkp::screen::MainState& s = f.window->state();
    int valid = 0;
    for (int p = 0; p < 11000; ++p)
        valid += !s.recordAt(p).isBroken();
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QString::number(valid));

    // A reversed range by Enter is refused as by the button.
    control<QLineEdit>(t, "Edit_KHome")->setText(QStringLiteral("40"));
    control<QLineEdit>(t, "Edit_KEnd")->setText(QStringLiteral("0"));
    QTest::keyClick(control<QLineEdit>(t, "Edit_KEnd"), Qt::Key_Return);
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QString::number(valid));
    QCOMPARE(f.prompts.callsOf("error").size(), std::size_t {1});
}

void TestFramesPaging::wheelAndPageKeysPage()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    QTableView* grid = control<QTableView>(t, "StringGrid_O_Otb");
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto firstFrame = [grid] { return grid->model()->index(0, 0).data().toString(); };
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10995);

    QTest::keyClick(grid, Qt::Key_PageUp);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10990);
    wheel(grid->viewport(), 120);  // away from the user: back
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10985);
    QVERIFY(firstFrame().isEmpty() || firstFrame() == QStringLiteral("10985"));
    wheel(grid->viewport(), 2 * 120);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10975);
    // Touchpad steps add up to a page.
    wheel(grid->viewport(), -60);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10975);
    wheel(grid->viewport(), -60);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10980);
    QTest::keyClick(grid, Qt::Key_PageDown);
    QTest::keyClick(grid, Qt::Key_PageDown);
    QTest::keyClick(grid, Qt::Key_PageDown);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10995);  // limited to the range
    wheel(grid->viewport(), -120);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10995);
    // Ctrl+Home and Ctrl+End: the first and the last frame.
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 0);
    QVERIFY(firstFrame().isEmpty() || firstFrame() == QStringLiteral("0"));
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 10995);

    // Within a selection the pages run over the selected list.
    control<QLineEdit>(t, "Edit_KHome")->setText(QStringLiteral("0"));
    control<QLineEdit>(t, "Edit_KEnd")->setText(QStringLiteral("40"));
    control<QPushButton>(t, "BitBtn_DKadr")->click();
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 36);
    QTest::keyClick(grid, Qt::Key_PageUp);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 31);
    for (int i = 0; i < 10; ++i)
        wheel(grid->viewport(), 120);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 0);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(control<QScrollBar>(t, "ScrollBar_Cikl")->value(), 36);
}

void TestFramesPaging::loadingResetsCountAndDate()
{
    MainWindowFixture f;
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("0000"));
    QCOMPARE(control<QDateEdit>(t, "DateTimePicker_Data")->date(), QDate::currentDate());
    f.openDemo();
    const nkp::screen::MainState& s = f.window->state();
    // The count changes with a selection only, not with a load.
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("0000"));
    const QDate newest = QDate::fromString(
        QString::fromStdString(s.newestFrameTime.substr(0, 10)), QStringLiteral("dd.MM.yyyy"));
    QVERIFY(newest.isValid());
    QCOMPARE(control<QDateEdit>(t, "DateTimePicker_Data")->date(), newest);
    // The picker's day finds frames at once.
    control<QPushButton>(t, "BitBtn_DataSel")->click();
    QVERIFY(f.prompts.callsOf("information").empty());
    QVERIFY(control<QLabel>(t, "Label_O_OtbZap")->text().toInt() > 0);

    // A selection, then the next loading: the table lists every frame again;
    // the count stays what the selection made.
    control<QLineEdit>(t, "Edit_KHome")->setText(QStringLiteral("0"));
    control<QLineEdit>(t, "Edit_KEnd")->setText(QStringLiteral("40"));
    control<QPushButton>(t, "BitBtn_DKadr")->click();
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("41"));
    control<QDateEdit>(t, "DateTimePicker_Data")->setDate(QDate(2001, 2, 3));
    f.openDemo();
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("41"));
    QCOMPARE(control<QDateEdit>(t, "DateTimePicker_Data")->date(), newest);
}

void TestFramesPaging::typingADay()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& t = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QDateEdit* picker = control<QDateEdit>(t, "DateTimePicker_Data");
    picker->setDate(QDate(2024, 3, 20));
    auto* text = picker->findChild<QLineEdit*>();
    QVERIFY(text);
    // A click on the day's digits (the first of the text), then the new
    // day typed over it.
    const int digit = QFontMetrics(text->font()).horizontalAdvance(QLatin1Char('2'));
    QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier, QPoint(4 + digit, text->height() / 2));
    QTRY_COMPARE(picker->currentSection(), QDateTimeEdit::DaySection);
    QTRY_VERIFY(text->hasSelectedText());
    QTest::keyClicks(picker, QStringLiteral("07"));
    QCOMPARE(picker->date(), QDate(2024, 3, 7));

    // Enter applies the typed day as "Вывести" does: the demo has no frame
    // of that day, so the user is told.
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(f.prompts.callsOf("information").size(), std::size_t {1});
    QCOMPARE(control<QLabel>(t, "Label_O_OtbZap")->text(), QStringLiteral("0"));
    // The newest frame's day, typed and entered, selects its frames.
    const QDate newest
        = QDate::fromString(QString::fromStdString(f.window->state().newestFrameTime.substr(0, 10)),
            QStringLiteral("dd.MM.yyyy"));
    picker->setDate(newest);
    QTest::keyClick(picker, Qt::Key_Enter);
    QCOMPARE(f.prompts.callsOf("information").size(), std::size_t {1});
    QVERIFY(control<QLabel>(t, "Label_O_OtbZap")->text().toInt() > 0);
    QVERIFY(control<QLabel>(t, "Label_O_OtbZap")->text().toInt() < 11000);
}

QTEST_MAIN(TestFramesPaging)
#include "tst_framespaging.moc"
