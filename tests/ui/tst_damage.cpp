// A damaged read-out is shown at once and everywhere it is used: the warning
// line of the first tab and the status bar with the way to the load error
// log, the preview captions, the forms' question, the fleet overview's rows.
// Also the feedback of the form commands and of the frames export.
#include "Controls.h"
#include "MainWindowFixture.h"
#include "analysis/FrameFieldTexts.h"

#include "analysis/FileDamage.h"
#include "forms/Createforms.h"
#include "ui/charts/ChartsTab.h"
#include "ui/charts/FrameChart.h"
#include "ui/common/UiText.h"
#include "ui/fleet/FleetTableModel.h"
#include "ui/main/ConstTab.h"
#include "ui/main/FormCommands.h"
#include "ui/main/FramesTab.h"
#include "ui/printing/Printinfcart.h"
#include "ui/service/Logloaderror.h"

#include <QAction>
#include <QBrush>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>

#include <filesystem>

using nkp::test::control;

class TestDamage : public QObject {
    Q_OBJECT
private slots:
    void windowShowsDamageUntilASoundFileIsLoaded();
    void previewCaptionCarriesTheWarning();
    void formsAskBeforeUsingADamagedFileAndReportTheDocument();
    void cancelledFirstDialogEndsForms1And2();
    void fleetRowsStandOutWithTheirRemark();
    void framesExportIsASpreadsheetFile();
    void truncatedFileLeavesItsFramesUndated();
    void fileWithoutAFrameIsRefusedAndTheReadoutStays();
};

namespace {

const QString kShortWarning = QStringLiteral(
    "Файл повреждён: файл короче полного считывания (1000 байт из 270337); контрольная сумма не совпадает");

QString writeShort(MainWindowFixture& f)
{
    std::vector<std::uint8_t> bytes = nkp::generator::generateDataFile(f.options);
    bytes.resize(1000);
    const QString path = f.dir.filePath(QStringLiteral("short.nkp"));
    MainWindowFixture::writeFile(path, bytes);
    return path;
}

QString screenshotFolder()
{
    const QString given = qEnvironmentVariable("NKP_SCREENSHOT_DIR");
    return given.isEmpty()
        ? QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../../screenshots"))
        : given;
}

// A start folder with the form folders and a template without fields.
void prepareFormFolders(const QString& root)
{
    QVERIFY(QDir(root).mkpath(QStringLiteral("Шаблоны форм")));
    QVERIFY(QDir(root).mkpath(QStringLiteral("Формы")));
    for (int form = 1; form <= 3; ++form) {
        QFile t(root + QStringLiteral("/Шаблоны форм/Форма %1.rtf").arg(form));
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write("{\\rtf1 test}");
    }
}

}  // namespace

void TestDamage::windowShowsDamageUntilASoundFileIsLoaded()
{
    MainWindowFixture f;
    TForm_TPB140CMain& w = *f.window;
    QLabel* line = control<QLabel>(*control<ConstTab>(w, "TabSheet_Const"), "Label_Damage");
    QLabel* panel = control<QLabel>(w, "StatusBar_Main_Panel1");
    QVERIFY(line->isHidden());

    f.open(writeShort(f));
    // Shown without a modal box: the open dialog is the only question asked.
    QCOMPARE(f.prompts.calls.size(), std::size_t {1});
    QVERIFY(!line->isHidden());
    QVERIFY2(line->text().contains(kShortWarning.toHtmlEscaped()), qPrintable(line->text()));
    QCOMPARE(panel->toolTip(), kShortWarning);
    QVERIFY2(panel->text().contains(QStringLiteral("Файл повреждён")), qPrintable(panel->text()));
    QVERIFY(panel->styleSheet().contains(QStringLiteral("background")));
    // The values that could be loaded stay shown.
    QCOMPARE(control<QLabel>(*control<ConstTab>(w, "TabSheet_Const"), "Label_KIspU")->text(),
        QStringLiteral("U0"));

    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    control<QTabWidget>(w, "PageControl_Main")->setCurrentIndex(0);
    QCoreApplication::processEvents();
    // The whole line fits the tab; its text wraps rather than widening the window.
    QVERIFY(line->isVisible());
    QVERIFY(line->geometry().right() <= control<ConstTab>(w, "TabSheet_Const")->width());
    QVERIFY(w.width() <= 800);
    const QString folder = screenshotFolder();
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(w.grab().save(folder + QStringLiteral("/damaged.png")));

    // Both links open the load error log, which names the damage.
    for (QLabel* link : {line, panel}) {
        bool shownModal = false;
        QTimer::singleShot(0, [&] {
            shownModal = QApplication::activeModalWidget() == control<TForm_LogError>(w, "Form_LogError");
            control<TForm_LogError>(w, "Form_LogError")->close();
        });
        emit link->linkActivated(QStringLiteral("log"));
        QVERIFY(shownModal);
    }

    // A sound file takes the warning away.
    f.openDemo();
    QVERIFY(line->isHidden());
    QVERIFY(panel->text().isEmpty());
    QVERIFY(panel->toolTip().isEmpty());
    QVERIFY(panel->styleSheet().isEmpty());
}

void TestDamage::previewCaptionCarriesTheWarning()
{
    MainWindowFixture f;
    f.open(writeShort(f));
    nkp::ui::TForm_Print print(f.window->state(), f.prompts);
    QCOMPARE(print.previewCaption(QStringLiteral("Информационная карта")),
        QStringLiteral("Информационная карта — ") + kShortWarning);

    // The real preview window carries it in its caption.
    QString caption;
    QTimer::singleShot(0, [&] {
        if (QWidget* preview = QApplication::activeModalWidget()) {
            caption = preview->windowTitle();
            preview->close();
        }
    });
    nkp::ui::printOperationalInfo(
        f.window.get(), f.window->state(), f.prompts, QStringLiteral("0"), QStringLiteral("3"), ',');
    QCOMPARE(caption, QStringLiteral("Оперативная информация — ") + kShortWarning);

    f.openDemo();
    QCOMPARE(print.previewCaption(QStringLiteral("Приложение 1")), QStringLiteral("Приложение 1"));
}

void TestDamage::formsAskBeforeUsingADamagedFileAndReportTheDocument()
{
    MainWindowFixture f;
    prepareFormFolders(f.dir.path());
    const QString shortPath = writeShort(f);
    std::vector<std::string> opened, folders;
    nkp::ui::Desktop desktop;
    desktop.openDocument = [&](const std::string& path) {
        opened.push_back(path);
        return false;  // no application for RTF documents
    };
    bool fileManager = true;
    desktop.openFolder = [&](const std::string& folder) {
        folders.push_back(folder);
        return fileManager;
    };

    // Stopping at the question writes nothing.
    f.prompts.fileAnswers.push_back(QFile::encodeName(shortPath).toStdString());
    f.prompts.warningAnswers.push_back(false);
    QCOMPARE(f.window->runForm(3, desktop).result, nkp::forms::FormResult::Cancelled);
    const auto warnings = f.prompts.callsOf("warning");
    QCOMPARE(warnings.size(), std::size_t {1});
    QCOMPARE(QString::fromStdString(warnings[0].text),
        QStringLiteral("short.nkp\n\n") + kShortWarning
            + QStringLiteral("\n\nДокумент будет составлен по данным этого файла. Продолжить?"));
    QVERIFY(QDir(f.dir.filePath(QStringLiteral("Формы"))).isEmpty());
    QVERIFY(f.prompts.callsOf("action").empty());

    // Going on makes the document and says where it is; the folder opens on request.
    f.prompts.calls.clear();
    f.prompts.fileAnswers.push_back(QFile::encodeName(shortPath).toStdString());
    f.prompts.actionAnswers.push_back(true);
    const nkp::forms::FormOutcome outcome = f.window->runForm(3, desktop);
    QCOMPARE(outcome.result, nkp::forms::FormResult::DocumentMade);
    QVERIFY(std::filesystem::exists(outcome.documentPath));
    QCOMPARE(opened, std::vector<std::string> {outcome.documentPath});
    const auto reports = f.prompts.callsOf("action");
    QCOMPARE(reports.size(), std::size_t {1});
    QCOMPARE(QString::fromStdString(reports[0].text),
        QStringLiteral("Документ сохранён: ") + QFile::decodeName(outcome.documentPath.c_str())
            + QStringLiteral(
                "\n\nНе найдена программа для открытия документов RTF. Откройте документ вручную, "
                "например в LibreOffice Writer."));
    QCOMPARE(folders, std::vector<std::string> {f.dir.filePath(QStringLiteral("Формы")).toStdString()});

    // A sound file: no question; the report without the missing application.
    f.prompts.calls.clear();
    desktop.openDocument = [](const std::string&) { return true; };
    f.prompts.fileAnswers.push_back(QFile::encodeName(f.readoutPath).toStdString());
    QCOMPARE(f.window->runForm(3, desktop).result, nkp::forms::FormResult::DocumentMade);
    QVERIFY(f.prompts.callsOf("warning").empty());
    QCOMPARE(f.prompts.callsOf("action").size(), std::size_t {1});
    QVERIFY(!QString::fromStdString(f.prompts.callsOf("action")[0].text).contains(QStringLiteral("RTF")));
    QCOMPARE(folders.size(), std::size_t {1});  // not asked for this time
    QVERIFY(f.prompts.callsOf("error").empty());

    // No file manager answers "Открыть папку": the user is told so.
    fileManager = false;
    f.prompts.fileAnswers.push_back(QFile::encodeName(f.readoutPath).toStdString());
    f.prompts.actionAnswers.push_back(true);
    QCOMPARE(f.window->runForm(3, desktop).result, nkp::forms::FormResult::DocumentMade);
    QCOMPARE(folders.size(), std::size_t {2});
    const auto errors = f.prompts.callsOf("error");
    QCOMPARE(errors.size(), std::size_t {1});
    QVERIFY(QString::fromStdString(errors[0].text).contains(QStringLiteral("файловый менеджер не ответил")));
}

void TestDamage::cancelledFirstDialogEndsForms1And2()
{
    MainWindowFixture f;
    prepareFormFolders(f.dir.path());
    nkp::ui::Desktop desktop;
    desktop.openDocument = [](const std::string&) { return true; };
    for (int form : {1, 2}) {
        f.prompts.calls.clear();
        // The first dialog cancelled: no second prompt, no second dialog, nothing written.
        QCOMPARE(f.window->runForm(form, desktop).result, nkp::forms::FormResult::Cancelled);
        QCOMPARE(f.prompts.callsOf("information").size(), std::size_t {1});
        QCOMPARE(f.prompts.callsOf("open").size(), std::size_t {1});
        QVERIFY(f.prompts.callsOf("action").empty());
    }
    QVERIFY(QDir(f.dir.filePath(QStringLiteral("Формы"))).isEmpty());
    QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("Шаблоны форм/Форма 1.txt"))));
}

void TestDamage::fleetRowsStandOutWithTheirRemark()
{
    nkp::fleet::FleetRow sound;
    sound.file = "good.nkp";
    sound.loaded = true;
    nkp::fleet::FleetRow damaged = sound;
    damaged.file = "short.nkp";
    damaged.damaged = true;
    damaged.remark = nkp::ui::toCp1251(kShortWarning);
    nkp::fleet::FleetRow bare = sound;
    bare.file = "bare.nkp";
    bare.remark = cp1251("Нет блока идентификации");
    nkp::fleet::FleetRow unread;
    unread.file = "dir.nkp";
    unread.remark = cp1251("Это папка, а не файл");
    nkp::ui::FleetTableModel model;
    model.setRows({sound, damaged, bare, unread});
    const auto data = [&model](int row, const char* column, int role) {
        return model.index(row, nkp::test::columnOf(model, QString::fromUtf8(column))).data(role);
    };

    QVERIFY(!data(0, "Файл", Qt::BackgroundRole).isValid());
    QVERIFY(!data(0, "Файл", Qt::ToolTipRole).isValid());
    // The remark is read at the row's first column, without scrolling to the last.
    QCOMPARE(data(1, "Файл", Qt::ToolTipRole).toString(), kShortWarning);
    QCOMPARE(data(1, "Всего циклов", Qt::ToolTipRole).toString(), kShortWarning);
    const QColor damagedColour = data(1, "Файл", Qt::BackgroundRole).value<QBrush>().color();
    QVERIFY(damagedColour.isValid());
    QCOMPARE(data(1, "Марка крана", Qt::BackgroundRole).value<QBrush>().color(), damagedColour);
    const QColor bareColour = data(2, "Файл", Qt::BackgroundRole).value<QBrush>().color();
    QVERIFY(bareColour.isValid() && bareColour != damagedColour);
    QCOMPARE(data(2, "Файл", Qt::ToolTipRole).toString(), QStringLiteral("Нет блока идентификации"));
    QVERIFY(data(3, "Файл", Qt::ForegroundRole).isValid());
    QCOMPARE(data(3, "Файл", Qt::ToolTipRole).toString(), QStringLiteral("Это папка, а не файл"));
}

void TestDamage::framesExportIsASpreadsheetFile()
{
    MainWindowFixture f;
    f.openDemo();
    const QString path = f.dir.filePath(QStringLiteral("кадры.csv"));
    f.prompts.fileAnswers.push_back(QFile::encodeName(path).toStdString());
    control<QAction>(*f.window, "Menu_ExportFrames")->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The table's own captions head the columns.
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF" + QStringLiteral("Позиция;Номер кадра;Дата записи;").toUtf8()));
    QCOMPARE(bytes.count("\r\n"), 11001);
    QCOMPARE(bytes.count('\n'), 11001);  // no bare line feed
    QVERIFY(bytes.endsWith(QByteArray::fromStdString(";"
        + nkp::codec::cp1251ToUtf8(nkp::analysis::statusText(f.window->state().recordAt(10999).Status))
        + "\r\n")));
    const auto infos = f.prompts.callsOf("information");
    QCOMPARE(infos.size(), std::size_t {1});
    QCOMPARE(QString::fromStdString(infos[0].text), QStringLiteral("Кадров записано: 11000\nФайл: ") + path);
}

void TestDamage::truncatedFileLeavesItsFramesUndated()
{
    // Cut inside frame 5000: no year byte, frames 0..4999 read whole.
    MainWindowFixture f;
    std::vector<std::uint8_t> bytes = nkp::generator::generateDataFile(f.options);
    bytes.resize(24 * 5000 + 10);
    const QString path = f.dir.filePath(QStringLiteral("cut.nkp"));
    MainWindowFixture::writeFile(path, bytes);
    f.open(path);
    const nkp::screen::MainState& s = f.window->state();
    FramesTab& tab = *control<FramesTab>(*f.window, "TabSheet_Cikl");
    QTableView* grid = control<QTableView>(tab, "StringGrid_O_Otb");
    const auto cell = [&](int record, int row) {
        tab.scrollTo((record - s.RingStart + 11000) % 11000);
        const int column
            = (record - s.RingStart + 11000) % 11000 - control<QScrollBar>(tab, "ScrollBar_Cikl")->value();
        return grid->model()->index(row, column).data().toString();
    };
    int sound = 0;
    while (!s.frames[static_cast<std::size_t>(sound)].isOk())
        ++sound;
    // A sound frame keeps its time and status; its date is unknown, so empty.
    QCOMPARE(cell(sound, 1), QString());
    QCOMPARE(cell(sound, 2).size(), 8);
    QCOMPARE(cell(sound, 15), QStringLiteral("Норма"));
    // Frames the file does not hold are broken: empty columns, never "Норма".
    for (const int record : {5000, 5001, 10999}) {
        QCOMPARE(cell(record, 15), QString());
        QCOMPARE(cell(record, 0), QString());
    }
    // No day marks on the chart.
    FrameChart& chart
        = *control<FrameChart>(*control<ChartsTab>(*f.window, "TabSheet_Grafik"), "Chart_Param");
    for (QCPGraph* dates : chart.graphsOf(QStringLiteral("Series3")))
        QCOMPARE(dates->data()->size(), 0);
    QVERIFY(chart.labelsOf(QStringLiteral("Series3")).isEmpty());
}

void TestDamage::fileWithoutAFrameIsRefusedAndTheReadoutStays()
{
    MainWindowFixture f;
    f.openDemo();
    TForm_TPB140CMain& w = *f.window;
    QLineEdit* model = control<QLineEdit>(*control<ConstTab>(w, "TabSheet_Const"), "Edit_MKran");
    const QString title = w.windowTitle();
    const QString craneModel = model->text();
    const nkp::recorder::TFrameRecord newest = w.state().recordAt(10999);
    QVERIFY(!craneModel.isEmpty());
    for (const std::size_t size : {std::size_t {0}, std::size_t {23}}) {
        const QString path = f.dir.filePath(QStringLiteral("empty.nkp"));
        MainWindowFixture::writeFile(path, std::vector<std::uint8_t>(size));
        f.prompts.calls.clear();
        f.open(path);
        const auto errors = f.prompts.callsOf("error");
        QCOMPARE(errors.size(), std::size_t {1});
        QCOMPARE(QString::fromStdString(errors[0].text), QStringLiteral("\n Файл не удальсь открыть!"));
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(model->text(), craneModel);
        QVERIFY(w.state().recordAt(10999) == newest);
    }
}

QTEST_MAIN(TestDamage)
#include "tst_damage.moc"
