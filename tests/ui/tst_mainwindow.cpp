// The main window: start state, loading into the first tab, typed edits,
// chart clicks and the open dialog's failures.
#include "Controls.h"
#include "MainWindowFixture.h"
#include "analysis/FrameFieldTexts.h"

#include "base/Log.h"
#include "recorder/DataFileReader.h"
#include "screen/MainStateFields.h"
#include "ui/charts/ChartsTab.h"
#include "ui/charts/FrameChart.h"
#include "ui/common/UiText.h"
#include "ui/fleet/Fleet.h"
#include "ui/main/ConstTab.h"
#include "ui/main/EventsTab.h"
#include "ui/main/FramesTab.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableView>

using nkp::test::control;

using nkp::ui::fromCp1251;

namespace {

QString textOf(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    return QStringLiteral("<no text control>");
}

QString column(QTableView* grid, int c)
{
    QStringList cells;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        cells << grid->model()->index(r, c).data().toString();
    return cells.join(QLatin1Char('|'));
}

// Types text the way a keyboard does, one key event per character
// (QTest::keyClicks takes Latin-1 keys only).
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startState();
    void loadFillsFirstTab();
    void typedEditsWriteBack();
    void tableShowsNewestFramesAfterLoad();
    void chartCheckboxesAndClick();
    void cancelledDialogChangesNothing();
    void unreadableFileKeepsLoadedReadout();
    void clearAllResetsStoreOnly();
    void resourceShareBesideCharacteristicNumbers();
    void fleetOverviewOpensReadoutsHere();
    void readoutTextsShowLiterally();
};

void TestMainWindow::startState()
{
    MainWindowFixture f;
    TForm_TPB140CMain& w = *f.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Анализ данных регистратора параметров ТРВ-140"));
    QCOMPARE(w.maximumSize(), QSize(800, 600));
    QCOMPARE(
        control<QTabWidget>(w, "PageControl_Main")->currentWidget(), control<FramesTab>(w, "TabSheet_Cikl"));
    QVERIFY(control<QProgressBar>(w, "ProgressBar_Read")->isHidden());
    QCOMPARE(control<QDateEdit>(*control<FramesTab>(w, "TabSheet_Cikl"), "DateTimePicker_Data")->date(),
        QDate::currentDate());
    QCOMPARE(control<QLabel>(*control<FramesTab>(w, "TabSheet_Cikl"), "Label_O_OtbZap")->text(),
        QStringLiteral("0000"));
    for (int c = 0; c < 5; ++c)
        QCOMPARE(column(control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb"), c),
            QString(15, QLatin1Char('|')));
    QVERIFY(control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_HarCh")->isReadOnly());
    QCOMPARE(control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_GrRegNag")->text(),
        QStringLiteral("А1"));

    struct Item {
        QAction* action;
        const char* caption;
        QKeySequence shortcut;
    };
    const Item items[] = {
        {control<QAction>(w, "Menu_STN3"), "Считать...", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {control<QAction>(w, "Menu_OpenSTN3"), "Открыть", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {control<QAction>(w, "Menu_Clear"), "Очистить", QKeySequence(Qt::CTRL | Qt::Key_W)},
        {control<QMenu>(w, "Menu_Print")->menuAction(), "Печать", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {control<QAction>(w, "M_IK"), "Информационная карта", {}},
        {control<QAction>(w, "M_Oper"), "Оперативная информация", {}},
        {control<QAction>(w, "M_Events"), "События...", {}},
        {control<QMenu>(w, "Menu_Isp")->menuAction(), "Обработка испытаний", {}},
        {control<QAction>(w, "N_CreateForma1"), "Форма 1", {}},
        {control<QAction>(w, "N_CreateForma2"), "Форма 2", {}},
        {control<QAction>(w, "N_CreateForma3"), "Форма 3", {}},
        {control<QAction>(w, "Menu_log"), "Лог ошибок...", QKeySequence(Qt::CTRL | Qt::Key_L)},
        {control<QAction>(w, "Menu_Exit"), "Выход", {}},
    };
    for (const Item& i : items) {
        // The caption as shown; "&" marks a menu's mnemonic (Alt+П opens "Печать").
        QCOMPARE(QString(i.action->text()).remove(u'&'), QString::fromUtf8(i.caption));
        QCOMPARE(i.action->shortcut(), i.shortcut);
    }
    QVERIFY(!control<QMenu>(w, "Menu_Service")->menuAction()->isVisible());
    QCOMPARE(control<QAction>(w, "N_Adres")->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I));
    QVERIFY(w.actions().contains(control<QAction>(w, "N_Adres")));  // reachable although its menu is hidden

    // The first status panel shows the hint of the control under the mouse.
    QStatusTipEvent tip(
        control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb")->statusTip());
    QApplication::sendEvent(
        control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb"), &tip);
    QCOMPARE(control<QLabel>(w, "StatusBar_Main_Panel0")->text(),
        QStringLiteral("Для расшифровки кодов укажите ячейку"));
    QCOMPARE(control<QLabel>(w, "StatusBar_Main_Panel1")->width(), 500);
}

void TestMainWindow::loadFillsFirstTab()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    ConstTab& t = *control<ConstTab>(w, "TabSheet_Const");
    QCOMPARE(w.windowTitle(), QStringLiteral("Анализ данных регистратора параметров ТРВ-140  [demo.nkp]"));
    QCOMPARE(f.prompts.callsOf("open").size(), std::size_t {1});
    QCOMPARE(f.prompts.dialogs[0].title, std::string("Открыть"));
    QCOMPARE(f.prompts.dialogs[0].filter, std::string("Файлы РП ТРВ-160С (*.nkp)|*.nkp|Все файлы (*.*)|*.*"));

    using nkp::recorder::IdField;
    const nkp::recorder::Identification id = nkp::generator::generateIdentification(f.options);
    const std::pair<QLineEdit*, IdField> edits[] = {{control<QLineEdit>(t, "Edit_Org"), IdField::ServiceOrg},
        {control<QLineEdit>(t, "Edit_Name"), IdField::Operator},
        {control<QLineEdit>(t, "Edit_NUd"), IdField::CertNumber},
        {control<QLineEdit>(t, "Edit_DateUd"), IdField::CertValidity},
        {control<QLineEdit>(t, "Edit_DataSch"), IdField::ReadingDate},
        {control<QLineEdit>(t, "Edit_MKran"), IdField::CraneModel},
        {control<QLineEdit>(t, "Edit_NKran"), IdField::CraneNumber},
        {control<QLineEdit>(t, "Edit_GodIzgot"), IdField::CraneYear},
        {control<QLineEdit>(t, "Edit_GrRegNag"), IdField::NormGroup},
        {control<QLineEdit>(t, "Edit_Vlad"), IdField::CraneOwner},
        {control<QLineEdit>(t, "Edit_ModTRV"), IdField::LimiterModel},
        {control<QLineEdit>(t, "Edit_NTRV"), IdField::LimiterNumber}};
    for (const auto& [edit, field] : edits)
        QCOMPARE(edit->text(), fromCp1251(id[field]));
    QCOMPARE(control<QLabel>(t, "Edit_IzgotKran")->text(), fromCp1251(id[IdField::CraneMaker]));
    QCOMPARE(control<QLineEdit>(t, "Edit_IzgotTRV")->text(), QStringLiteral("ОАО \"ПЗЛ\", г. Энск"));

    // Counters straight from the file's bytes.
    const nkp::recorder::DataFileReader file(nkp::generator::generateDataFile(f.options));
    const std::uint32_t minutes = file.read24(264004);
    QCOMPARE(control<QLabel>(t, "L_TimeAll")->text(),
        QStringLiteral("%1:%2:00").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0')));
    QLabel* counts[] = {control<QLabel>(t, "Label_0"), control<QLabel>(t, "Label_12"),
        control<QLabel>(t, "Label_25"), control<QLabel>(t, "Label_50"), control<QLabel>(t, "Label_100")};
    QProgressBar* gauges[] = {control<QProgressBar>(t, "CGauge_N0"), control<QProgressBar>(t, "CGauge_N12"),
        control<QProgressBar>(t, "CGauge_N25"), control<QProgressBar>(t, "CGauge_N50"),
        control<QProgressBar>(t, "CGauge_N100")};
    std::uint32_t largest = 1, total = 0;
    for (int i = 0; i < 5; ++i) {
        largest = std::max(largest, file.read24(264011 + 3 * i));
        total += file.read24(264011 + 3 * i);
    }
    for (int i = 0; i < 5; ++i) {
        const std::uint32_t n = file.read24(264011 + 3 * i);
        QCOMPARE(counts[i]->text(), QString::number(n));
        QCOMPARE(gauges[i]->value(), static_cast<int>(n * 100 / largest));
    }
    const std::uint32_t mass = file.read32(264110);
    QCOMPARE(control<QLabel>(t, "Label_QSum")->text(),
        QStringLiteral("%1,%2 т").arg(mass / 100).arg(mass % 100, 2, 10, QLatin1Char('0')));
    const int bounds[] = {16000, 32000, 63000, 125000, 250000, 500000, 1000000, 2000000, 4000000};
    int u = 0;
    while (u < 9 && static_cast<int>(total) > bounds[u])
        ++u;
    QCOMPARE(control<QLabel>(t, "Label_KIspU")->text(), QStringLiteral("U%1").arg(u));
    QCOMPARE(control<QLineEdit>(t, "Edit_HarCh")->text(),
        QString::number(file.read40Fixed16(264026), 'f', 1).replace(QLatin1Char('.'), QLatin1Char(',')));
    QCOMPARE(control<QLabel>(t, "Label_Per1")->text().size(), 16);
    QCOMPARE(control<QLabel>(t, "Label_Read3")->text().size(), 16);

    // Every text of the model is on screen in the control of its name.
    for (const nkp::screen::TextField& field : nkp::screen::mainStateTextFields()) {
        QWidget* control = t.control(QString::fromLatin1(field.name));
        if (!control)
            continue;  // a value the window keeps without showing it
        QCOMPARE(textOf(control), fromCp1251(w.state().texts.*field.member));
        QCOMPARE(control->objectName(), QString::fromLatin1(field.name));
    }
    QVERIFY(f.prompts.callsOf("error").empty());
}

void TestMainWindow::typedEditsWriteBack()
{
    MainWindowFixture f;
    f.openDemo();
    ConstTab& t = *control<ConstTab>(*f.window, "TabSheet_Const");
    control<QLineEdit>(t, "Edit_MKran")->selectAll();
    typeText(control<QLineEdit>(t, "Edit_MKran"), QStringLiteral("КС-55713"));
    QCOMPARE(f.window->state().texts.craneModel, cp1251("КС-55713"));
    control<QLineEdit>(t, "Edit_Vlad")->clear();
    typeText(control<QLineEdit>(t, "Edit_Vlad"), QStringLiteral("ООО Ёлка"));
    QCOMPARE(f.window->state().texts.craneOwner, cp1251("ООО Ёлка"));
    const std::string harCh = f.window->state().texts.characteristicNumber;
    QTest::keyClicks(control<QLineEdit>(t, "Edit_HarCh"), QStringLiteral("9"));
    QCOMPARE(f.window->state().texts.characteristicNumber, harCh);
}

void TestMainWindow::tableShowsNewestFramesAfterLoad()
{
    MainWindowFixture f;
    f.openDemo();
    FramesTab& tab = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    QCOMPARE(control<QScrollBar>(tab, "ScrollBar_Cikl")->maximum(), 10995);
    QCOMPARE(control<QScrollBar>(tab, "ScrollBar_Cikl")->value(), 10995);
    const nkp::screen::MainState& s = f.window->state();
    for (int c = 0; c < 5; ++c) {
        const nkp::recorder::TFrameRecord& r = s.recordAt(10995 + c);
        if (r.isOk()) {
            QCOMPARE(control<QTableView>(tab, "StringGrid_O_Otb")->model()->index(0, c).data().toString(),
                QString::number(10995 + c));
            QCOMPARE(control<QTableView>(tab, "StringGrid_O_Otb")->model()->index(1, c).data().toString(),
                fromCp1251(nkp::analysis::frameDateText(r)));
            QCOMPARE(control<QTableView>(tab, "StringGrid_O_Otb")->model()->index(15, c).data().toString(),
                QStringLiteral("Норма"));
        } else {
            QCOMPARE(column(control<QTableView>(tab, "StringGrid_O_Otb"), c), QString(15, QLatin1Char('|')));
        }
    }
    // A broken frame shows as an empty column wherever it lies.
    const std::vector<int>& broken = s.readout.diagnostics.brokenFrames;
    QVERIFY(!broken.empty());
    const int position = (broken.front() - s.RingStart + 11000) % 11000;
    tab.scrollTo(position);
    QCOMPARE(control<QScrollBar>(tab, "ScrollBar_Cikl")->value(), std::min(position, 10995));
    QCOMPARE(control<QTableView>(tab, "StringGrid_O_Otb")
                 ->model()
                 ->index(0, position - control<QScrollBar>(tab, "ScrollBar_Cikl")->value())
                 .data()
                 .toString(),
        QString());
}

void TestMainWindow::chartCheckboxesAndClick()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    ChartsTab& charts = *control<ChartsTab>(w, "TabSheet_Grafik");
    FrameChart& chart = *control<FrameChart>(charts, "Chart_Param");
    QVERIFY(chart.title().contains(QStringLiteral(" по данным РП ТРВ-160 №")));
    QCOMPARE(chart.xAxis->label(), QStringLiteral("Кадры"));
    QVERIFY(
        chart.isSeriesVisible(QStringLiteral("Series1")) && chart.isSeriesVisible(QStringLiteral("Series4")));
    QVERIFY(!chart.isSeriesVisible(QStringLiteral("Series16"))
        && !chart.isSeriesVisible(QStringLiteral("Series3")));
    QCOMPARE(control<FrameChart>(charts, "Chart_KZ")->yAxis->range(), QCPRange(0, 5));
    // The limit series split by colour: green and red points never share a graph.
    for (QCPGraph* g : control<FrameChart>(charts, "Chart_KZ")->graphsOf(QStringLiteral("Series6")))
        QVERIFY(g->pen().color() == QColor(0, 128, 0) || g->pen().color() == Qt::red);

    control<QCheckBox>(charts, "CheckBox_GrParM")->click();
    QVERIFY(!chart.isSeriesVisible(QStringLiteral("Series1"))
        && !chart.isSeriesVisible(QStringLiteral("Series2")));
    control<QCheckBox>(charts, "CheckBox_Data")->click();
    QVERIFY(chart.isSeriesVisible(QStringLiteral("Series3")));
    QVERIFY(!chart.labelsOf(QStringLiteral("Series3")).isEmpty());
    QVERIFY(chart.labelsOf(QStringLiteral("Series3")).constFirst()->visible());

    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    control<QTabWidget>(w, "PageControl_Main")->setCurrentWidget(&charts);
    QCoreApplication::processEvents();
    chart.replot();
    // A click on a date point gives exactly its frame.
    QCPGraph* dates = chart.graphsOf(QStringLiteral("Series3")).constFirst();
    QVERIFY(dates->data()->size() > 1);
    const double key = dates->data()->at(1)->key;
    const QPoint pixel(qRound(chart.xAxis->coordToPixel(key)), qRound(chart.yAxis->coordToPixel(0)));
    QCOMPARE(chart.pointXAt(pixel), std::optional<double>(key));
    QTest::mouseClick(&chart, Qt::LeftButton, {}, pixel);
    QCOMPARE(
        control<QTabWidget>(w, "PageControl_Main")->currentWidget(), control<FramesTab>(w, "TabSheet_Cikl"));
    QCOMPARE(control<QScrollBar>(*control<FramesTab>(w, "TabSheet_Cikl"), "ScrollBar_Cikl")->value(),
        static_cast<int>(key));
    QCOMPARE(control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb")
                 ->model()
                 ->index(0, 0)
                 .data()
                 .toString(),
        QString::number(static_cast<int>(key)));

    // A point beyond the scroll bar's range gives its maximum; empty space nothing.
    w.Chart_ParamClickSeries(10999.0);
    QCOMPARE(control<QScrollBar>(*control<FramesTab>(w, "TabSheet_Cikl"), "ScrollBar_Cikl")->value(), 10995);
    // Clicks only navigate: the window keeps its four tabs, one events tab.
    QCOMPARE(control<QTabWidget>(w, "PageControl_Main")->count(), 4);
    QCOMPARE(w.findChildren<EventsTab*>().size(), 1);
    QVERIFY(!chart.pointXAt(
        QPointF(chart.xAxis->coordToPixel(5000), chart.yAxis->coordToPixel(chart.yAxis->range().upper) + 2)));
}

void TestMainWindow::cancelledDialogChangesNothing()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    control<FramesTab>(w, "TabSheet_Cikl")->scrollTo(100);
    const QString caption = w.windowTitle();
    const QString first
        = column(control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb"), 0);
    const std::vector<int> order = w.state().FrameOrder;
    const nkp::recorder::TFrameRecord record = w.state().frames[0];
    f.open(std::nullopt);
    QCOMPARE(w.windowTitle(), caption);
    QCOMPARE(w.state().FrameOrder, order);
    QVERIFY(w.state().frames[0] == record);
    control<FramesTab>(w, "TabSheet_Cikl")->ScrollBar_CiklChange();
    QCOMPARE(
        column(control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb"), 0), first);
    QCOMPARE(f.prompts.calls.size(), std::size_t {2});
}

void TestMainWindow::unreadableFileKeepsLoadedReadout()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    const QString caption = w.windowTitle();
    const QString model = control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_MKran")->text();
    const QString first
        = column(control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb"), 0);
    std::vector<std::string> logged;
    const nkp::log::Sink before
        = nkp::log::setSink([&](std::string_view line) { logged.emplace_back(line); });
    f.open(f.dir.filePath(QStringLiteral("missing.nkp")));
    f.open(f.dir.path());  // a folder
    nkp::log::setSink(before);
    const auto errors = f.prompts.callsOf("error");
    QCOMPARE(errors.size(), std::size_t {2});
    QCOMPARE(errors[0].text, std::string("\n Файл не удальсь открыть!"));
    // The box keeps its fixed text; the log names the file and the cause.
    QCOMPARE(logged.size(), std::size_t {2});
    QVERIFY(logged[0].find("missing.nkp") != std::string::npos);
    QVERIFY(logged[0].find("No such file") != std::string::npos);
    QVERIFY(logged[1].find(QFile::encodeName(f.dir.path()).toStdString()) != std::string::npos);
    QCOMPARE(w.windowTitle(), caption);
    QCOMPARE(control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_MKran")->text(), model);
    control<FramesTab>(w, "TabSheet_Cikl")->ScrollBar_CiklChange();
    QCOMPARE(
        column(control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb"), 0), first);
}

void TestMainWindow::clearAllResetsStoreOnly()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    const QString model = control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_MKran")->text();
    const int points = control<FrameChart>(*control<ChartsTab>(w, "TabSheet_Grafik"), "Chart_Param")
                           ->graphsOf(QStringLiteral("Series2"))
                           .constFirst()
                           ->dataCount();
    control<QAction>(w, "Menu_Clear")->trigger();
    QCOMPARE(control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_MKran")->text(), model);
    QCOMPARE(control<FrameChart>(*control<ChartsTab>(w, "TabSheet_Grafik"), "Chart_Param")
                 ->graphsOf(QStringLiteral("Series2"))
                 .constFirst()
                 ->dataCount(),
        points);
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("[demo.nkp]")));
    control<FramesTab>(w, "TabSheet_Cikl")->scrollTo(0);
    QCOMPARE(column(control<QTableView>(*control<FramesTab>(w, "TabSheet_Cikl"), "StringGrid_O_Otb"), 0),
        QString(15, QLatin1Char('|')));
}

void TestMainWindow::resourceShareBesideCharacteristicNumbers()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    QLabel* label = control<QLabel>(*control<ConstTab>(w, "TabSheet_Const"), "Label_Resource");
    const nkp::screen::MainState& s = w.state();
    QVERIFY(s.readout.normativeNumber > 0);
    const double percent = s.readout.characteristicNumber * 100.0 / s.readout.normativeNumber;
    QCOMPARE(label->text(),
        QStringLiteral("Использовано ресурса: %1 %")
            .arg(QString::number(percent, 'f', 1).replace(u'.', u',')));

    // A crane near the end of its life: yellow, then red; nothing stored changes.
    const std::string harCh = s.texts.characteristicNumber;
    w.state().readout.characteristicNumber = static_cast<float>(s.readout.normativeNumber) * 0.85f;
    w.refreshAll();
    QVERIFY(label->styleSheet().contains(QStringLiteral("#ffe040")));
    w.state().readout.characteristicNumber = static_cast<float>(s.readout.normativeNumber) * 1.2f;
    w.refreshAll();
    QVERIFY(label->styleSheet().contains(QStringLiteral("#ff7070")));
    QCOMPARE(s.texts.characteristicNumber, harCh);

    // A read-out without identification has no normative group: a dash, no colour.
    f.options.identification = false;
    const QString bare = f.dir.filePath(QStringLiteral("bare.nkp"));
    MainWindowFixture::writeFile(bare, nkp::generator::generateDataFile(f.options));
    f.open(bare);
    QCOMPARE(label->text(), QStringLiteral("Использовано ресурса: —"));
    QVERIFY(label->styleSheet().isEmpty());
}

void TestMainWindow::fleetOverviewOpensReadoutsHere()
{
    MainWindowFixture f;
    QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("Файлы/2024")));
    const QString inFleet = f.dir.filePath(QStringLiteral("Файлы/2024/crane.nkp"));
    QVERIFY(QFile::copy(f.readoutPath, inFleet));
    TForm_TPB140CMain& w = *f.window;
    QCOMPARE(control<QAction>(w, "Menu_Fleet")->text(), QStringLiteral("Обзор парка..."));
    QCOMPARE(control<QAction>(w, "Menu_Fleet")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));

    control<QAction>(w, "Menu_Fleet")->trigger();  // the first showing scans Файлы of the start folder
    QVERIFY(w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet")));
    QVERIFY(w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"))->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"))->isScanning(), 10000);
    QCOMPARE(w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"))->view().rowCount(), 1);

    TForm_Fleet* fleet = w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"));
    emit fleet->readoutActivated(inFleet);  // what a double-click on the row does
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("[crane.nkp]")));
    control<QAction>(w, "Menu_Fleet")->trigger();  // one window, shown again
    QCOMPARE(w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet")), fleet);
    w.findChild<TForm_Fleet*>(QStringLiteral("Form_Fleet"))->close();
}

QTEST_MAIN(TestMainWindow)
// A read-out may hold any text: markup in it is shown as it stands.
void TestMainWindow::readoutTextsShowLiterally()
{
    MainWindowFixture f;
    TForm_TPB140CMain& w = *f.window;
    f.openDemo();
    const std::string markup = "<b>x</b>";
    for (const nkp::screen::TextField& field : nkp::screen::mainStateTextFields())
        w.state().texts.*field.member = markup;
    w.state().selectionCountText = markup;
    w.refreshAll();
    int labels = 0;
    for (const nkp::screen::TextField& field : nkp::screen::mainStateTextFields()) {
        QWidget* shown = control<ConstTab>(w, "TabSheet_Const")->control(QString::fromLatin1(field.name));
        QVERIFY2(shown, field.name.data());
        if (auto* e = qobject_cast<QLineEdit*>(shown)) {
            QCOMPARE(e->text(), QStringLiteral("<b>x</b>"));
        } else if (auto* l = qobject_cast<QLabel*>(shown)) {
            ++labels;
            QCOMPARE(l->text(), QStringLiteral("<b>x</b>"));
            QVERIFY2(l->textFormat() == Qt::PlainText, field.name.data());
        }
    }
    QVERIFY(labels > 0);
    QCOMPARE(control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_MKran")->text(),
        QStringLiteral("<b>x</b>"));
    // Every label of the tabs and the status bar that shows read-out texts.
    for (QWidget* tab : {control<QWidget>(w, "TabSheet_Cikl"), control<QWidget>(w, "TabSheet_Events")})
        for (QLabel* l : tab->findChildren<QLabel*>())
            if (l->objectName().startsWith(QStringLiteral("Label_")))
                QVERIFY2(l->textFormat() == Qt::PlainText, qPrintable(l->objectName()));
    QVERIFY(control<QLabel>(w, "StatusBar_Main_Panel0")->textFormat() == Qt::PlainText);
}

#include "tst_mainwindow.moc"
