// The reading window with scripted prompts, scripted ports and a virtual clock.
#include "Controls.h"
#include "FakeSerialPort.h"
#include "ScriptedUserPrompts.h"
#include "TestImages.h"

#include "base/Codec.h"
#include "signing/Verification.h"
#include "ui/reading/ReadingSignature.h"
#include "ui/reading/Readnkp3.h"

#include "ui/common/QtUserPrompts.h"
#include "ui/common/UiText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

using nkp::codec::utf8ToCp1251;
using nkp::device::test::FakeDevice;
using nkp::device::test::FakeSerialPort;
using nkp::device::test::VirtualClock;
using nkp::test::control;
using nkp::test::ScriptedUserPrompts;
using SaveChoice = nkp::UserPrompts::SaveChoice;

namespace {

constexpr std::size_t kImage = 270336;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray cp(const char* utf8)
{
    return QByteArray::fromStdString(utf8ToCp1251(utf8));
}

// Thirteen lines joined with the given line end, in Windows-1251.
QByteArray infBytes(const QList<QByteArray>& lines, const QByteArray& eol)
{
    QByteArray out;
    for (const QByteArray& line : lines)
        out += line + eol;
    return out;
}

QList<QByteArray> sampleLines()
{
    return {cp("ООО \"Кран-Сервис\""), cp("Петров П.П."), cp("12/34"), "01.02.2027", cp("КС-55713"),
        "1234567890", "2010", cp("А5"), cp("Галичский завод"), cp("ООО \"Стройка\""), cp("ТРВ-140-01М"),
        "98765", "4321"};
}

// A scripted port that hands its log over when the reading thread drops it.
class LoggedPort : public FakeSerialPort {
public:
    LoggedPort(VirtualClock& clock, std::vector<std::string>& sink)
        : FakeSerialPort(clock)
        , sink_(sink)
    {
    }
    ~LoggedPort() override
    {
        sink_ = log;
        sink_.push_back(isOpen() ? "dropped open" : "dropped closed");
    }

private:
    std::vector<std::string>& sink_;
};

// One window with its surroundings in a temporary start directory. The port
// lives in the reading thread; a test can park that thread inside a read.
struct Rig {
    QTemporaryDir dir;
    ScriptedUserPrompts prompts;
    VirtualClock clock;
    std::map<std::string, FakeDevice> devices;
    std::vector<std::string> portLog;         // the last port's calls, once it is gone
    std::atomic<long long> holdAtBytes {-1};  // park reads once this many bytes came
    std::atomic<bool> holding {false};
    std::unique_ptr<TForm_ReadNKP3> form;

    Rig()
    {
        ReadingDeviceAccess access;
        access.portSlots = [] { return std::vector<nkp::device::PortSlot> {{"ttyUSB0", "dev0"}}; };
        access.makePort = [this] {
            auto p = std::make_unique<LoggedPort>(clock, portLog);
            p->devices = devices;
            p->onRead = [this, port = p.get()] {
                for (;;) {
                    const long long at = holdAtBytes;
                    if (at < 0 || port->bytesRead < static_cast<std::size_t>(at))
                        break;
                    holding = true;
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                holding = false;
            };
            return p;
        };
        access.clock = &clock;
        form = std::make_unique<TForm_ReadNKP3>(nullptr, prompts, dir.path(), access);
    }
    ~Rig()
    {
        holdAtBytes = -1;
        form.reset();
    }
    QString path(const QString& rel) const { return dir.filePath(rel); }
    void plugRecorder(std::vector<std::uint8_t> image)
    {
        FakeDevice d;
        d.probeAnswer = 0xA0;
        d.transfer = {{5, std::move(image)}};
        devices["dev0"] = d;
    }
    // Presses "Считать информацию" and waits for the reading's end.
    bool read()
    {
        form->BitBtn_ReadNKP3Click();
        return QTest::qWaitFor([this] { return !form->readingInProgress(); }, 20000);
    }
    // Starts a reading and waits until its thread is parked in a read.
    bool startAndHold(long long atBytes)
    {
        holdAtBytes = atBytes;
        form->BitBtn_ReadNKP3Click();
        return QTest::qWaitFor([this] { return holding.load(); }, 20000);
    }
};

QString screenshotFolder()
{
    const QByteArray env = qgetenv("NKP_SCREENSHOT_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    // The test runs from <build>/tests/ui.
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../..")).absolutePath()
        + QStringLiteral("/screenshots");
}

}  // namespace

class tst_Readnkp3 : public QObject {
    Q_OBJECT

private slots:
    void opensWithDefaultsAndTheReadingDate();
    void missingDefaultsKeepTheInitialTextsAndAreReported();
    void readingSaveAndCloseWriteByteExactFiles();
    void everyClosePathAsksBeforeAReadingIsLost_data();
    void everyClosePathAsksBeforeAReadingIsLost();
    void questionBoxOffersSaveDiscardCancelAndEscCancels();
    void saveIntoReadOnlyFolderLeavesEverythingAsItWas();
    void identificationFilesRoundTripWithEveryLineEnd();
    void shortIdentificationFileFillsWhatItHas();
    void nothingElseRunsDuringAReading();
    void byteCountFollowsTheTransfer();
    void abortStopsTheReadingCleanly();
    void newReadingAsksBeforeAnUnsavedOneIsOverwritten();
    void savedReadingsAreSignedWithTheKeyOfTheSetting();
};

void tst_Readnkp3::opensWithDefaultsAndTheReadingDate()
{
    Rig rig;
    writeAll(rig.path(QStringLiteral("Inf/Default.inf")), infBytes(sampleLines(), "\r\n"));
    QCOMPARE(rig.form->statusText(), QStringLiteral("Выполняемая операция..."));
    QCOMPARE(control<QLineEdit>(*rig.form, "Edit_ServOrg")->text(),
        QStringLiteral("ООО \"Сервисная огранизация\""));
    QCOMPARE(control<QProgressBar>(*rig.form, "CGauge_Process")->maximum(), 10);
    rig.form->show();
    QCOMPARE(control<QLineEdit>(*rig.form, "MaskEdit_DateRead")->text(), QStringLiteral("04.03.2026 05:06"));
    QCOMPARE(control<QLineEdit>(*rig.form, "Edit_ServOrg")->text(), QStringLiteral("ООО \"Кран-Сервис\""));
    QCOMPARE(control<QLineEdit>(*rig.form, "Edit_AKran")->text(), QStringLiteral("А5"));
    QCOMPARE(control<QLineEdit>(*rig.form, "Edit_NKTPB")->text(), QStringLiteral("4321"));
    QVERIFY(rig.prompts.calls.empty());
}

void tst_Readnkp3::missingDefaultsKeepTheInitialTextsAndAreReported()
{
    Rig rig;
    rig.form->show();
    QCOMPARE(rig.prompts.callsOf("error").size(), std::size_t {1});
    // The cause in Russian alone, no system text in another language.
    const QString missing = QString::fromStdString(rig.prompts.calls[0].text);
    QVERIFY2(missing.endsWith(QStringLiteral("Default.inf\". Файл не найден.")), qPrintable(missing));
    QCOMPARE(control<QLineEdit>(*rig.form, "Edit_MKran")->text(), QStringLiteral("КС-ХХХХХА-ХХ"));
    QCOMPARE(control<QLineEdit>(*rig.form, "MaskEdit_DateRead")->text(), QStringLiteral("04.03.2026 05:06"));
    // The title bar's close box: no question, the defaults are written with
    // CR LF, the Inf folder created; an unmappable character becomes "?".
    control<QLineEdit>(*rig.form, "Edit_NameOper")->setText(QStringLiteral("Кран ✓"));
    rig.form->close();
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(rig.prompts.callsOf("warning").size(), std::size_t {0});
    const QList<QByteArray> expected = {cp("ООО \"Сервисная огранизация\""), cp("Кран ?"), cp("Н\\3"),
        "00.00.0000", cp("КС-ХХХХХА-ХХ"), "0000000", "2006", cp("А1"), cp("ООО \"Завод-изготовитель\""),
        cp("ООО \"Владеле крана\""), cp("ТРВ-140-ХХМ"), "0000000", "0000000"};
    QCOMPARE(readAll(rig.path(QStringLiteral("Inf/Default.inf"))), infBytes(expected, "\r\n"));
}

void tst_Readnkp3::readingSaveAndCloseWriteByteExactFiles()
{
    Rig rig;
    const auto image = nkp::test::checkedImage(13);
    rig.plugRecorder(image);
    rig.form->show();
    QVERIFY(rig.read());
    QCOMPARE(rig.form->statusText(), QStringLiteral("Считывание успешно завершено!"));
    QCOMPARE(rig.form->statusColour(), QColor(0, 128, 0));
    QCOMPARE(control<QProgressBar>(*rig.form, "CGauge_Process")->value(), 0);
    QVERIFY(rig.form->reader().unsaved());

    control<QLineEdit>(*rig.form, "Edit_NKran")->setText(QStringLiteral("123456789012"));  // 10 wide: cut
    const QString target = rig.path(QStringLiteral("Файлы/crane.nkp"));
    QDir().mkpath(QFileInfo(target).absolutePath());
    rig.prompts.fileAnswers.push_back(target.toStdString());
    rig.form->BitBtn_SaveFileClick();
    const auto& dialog = rig.prompts.dialogs.back();
    QCOMPARE(QString::fromStdString(dialog.initialDir), rig.path(QStringLiteral("Файлы")));
    QCOMPARE(dialog.filter, std::string("Файлы РП ТРВ-160С (*.nkp)|*.nkp"));
    QCOMPARE(dialog.defaultExtension, std::string("nkp"));
    // The proposed name: crane model, number and the reading's day.
    QCOMPARE(
        QString::fromStdString(dialog.fileName), QStringLiteral("КС-ХХХХХА-ХХ №123456789012 04.03.2026.nkp"));
    // Before the dialog the status line shows the recorder's text without control bytes.
    QCOMPARE(TForm_ReadNKP3::savingStatusText(QStringLiteral("КС\u0001 55\t")),
        QStringLiteral("Сохранение информации: КС 55"));
    QCOMPARE(TForm_ReadNKP3::savingStatusText(QStringLiteral("\u0002")),
        QStringLiteral("Сохранение информации..."));
    // A fixed-size window: its size cannot change.
    QCOMPARE(rig.form->minimumSize(), rig.form->maximumSize());
    // The saved reading goes into the archive of the start folder too; the
    // archive answers in the background.
    QTRY_COMPARE(
        rig.form->statusText(), QStringLiteral("Информация сохранена в фале: crane.nkp; добавлено в архив"));
    QVERIFY(QFileInfo::exists(rig.path(QStringLiteral("Архив/archive.sqlite"))));
    QVERIFY(!rig.form->reader().unsaved());

    QByteArray expected(reinterpret_cast<const char*>(image.data()), kImage);
    expected.resize(270636, '\0');
    auto put = [&](int offset, const QByteArray& text) { expected.replace(offset, text.size(), text); };
    put(270337, cp("ООО \"Сервисная огранизация\""));
    put(270387, cp("Иванов И.И."));
    put(270437, cp("Н\\3"));
    put(270448, "00.00.0000");
    put(270459, QByteArray("04.03.2026 05:06") + '\0');
    put(270476, cp("КС-ХХХХХА-ХХ"));
    put(270491, "1234567890");
    put(270501, "2006");
    put(270506, cp("А1"));
    put(270509, cp("ООО \"Завод-изготовитель\""));
    put(270559, cp("ООО \"Владеле крана\""));
    put(270609, cp("ТРВ-140-ХХМ"));
    put(270621, "0000000");
    put(270629, "0000000");
    const QByteArray saved = readAll(target);
    QCOMPARE(saved.size(), 270636);
    QVERIFY(saved == expected);

    // An archive that cannot be written loses nothing of the saved file.
    QVERIFY(QDir(rig.path(QStringLiteral("Архив"))).removeRecursively());
    QFile blocker(rig.path(QStringLiteral("Архив")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString second = rig.path(QStringLiteral("Файлы/crane2.nkp"));
    rig.prompts.fileAnswers.push_back(second.toStdString());
    rig.form->BitBtn_SaveFileClick();
    QTRY_VERIFY2(rig.form->statusText().startsWith(
                     QStringLiteral("Информация сохранена в фале: crane2.nkp; в архив не добавлено: ")),
        qPrintable(rig.form->statusText()));
    QVERIFY(readAll(second) == expected);

    // Saved: "Закрыть" closes without a question.
    rig.form->BitBtn_CloseClick();
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(rig.prompts.callsOf("warning").size(), std::size_t {0});
}

void tst_Readnkp3::everyClosePathAsksBeforeAReadingIsLost_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("answer");
    for (const char* how : {"esc", "closeBox", "closeButton"})
        for (const char* answer : {"saveOk", "saveFails", "saveDialogCancelled", "discard", "cancel"})
            QTest::newRow((QByteArray(how) + ' ' + answer).constData())
                << QString::fromLatin1(how) << QString::fromLatin1(answer);
}

void tst_Readnkp3::everyClosePathAsksBeforeAReadingIsLost()
{
    QFETCH(QString, how);
    QFETCH(QString, answer);
    Rig rig;
    rig.plugRecorder(std::vector<std::uint8_t>(kImage, 0xFF));  // a failed checksum is kept too
    rig.form->show();
    QVERIFY(rig.read());
    QCOMPARE(rig.form->statusText(), QStringLiteral("Несоответствие контрольной суммы!"));
    control<QLineEdit>(*rig.form, "Edit_ServOrg")->setText(QStringLiteral("Typed before the question"));
    const QString target = rig.path(QStringLiteral("erased.nkp"));
    if (answer == QStringLiteral("saveOk")) {
        rig.prompts.saveChoices.push_back(SaveChoice::Save);
        rig.prompts.fileAnswers.push_back(target.toStdString());
    } else if (answer == QStringLiteral("saveFails")) {
        rig.prompts.saveChoices.push_back(SaveChoice::Save);
        rig.prompts.fileAnswers.push_back(rig.path(QStringLiteral("missing/erased.nkp")).toStdString());
    } else if (answer == QStringLiteral("saveDialogCancelled")) {
        rig.prompts.saveChoices.push_back(SaveChoice::Save);
        rig.prompts.fileAnswers.push_back(std::nullopt);
    } else if (answer == QStringLiteral("discard")) {
        rig.prompts.saveChoices.push_back(SaveChoice::Discard);
    } else {
        rig.prompts.saveChoices.push_back(SaveChoice::Cancel);  // also what Esc on the question gives
    }

    if (how == QStringLiteral("esc"))
        QTest::keyClick(rig.form.get(), Qt::Key_Escape);
    else if (how == QStringLiteral("closeBox"))
        rig.form->close();
    else
        QTest::mouseClick(control<QPushButton>(*rig.form, "BitBtn_Close"), Qt::LeftButton);

    const auto questions = rig.prompts.callsOf("question");
    QCOMPARE(questions.size(), std::size_t {1});
    QCOMPARE(questions[0].caption, std::string("Предупреждение"));
    QCOMPARE(questions[0].text, std::string("Файл с информацией не сохранен! \nСохранить?"));
    QCOMPARE(rig.prompts.callsOf("warning").size(), std::size_t {0});
    const QString defaults = rig.path(QStringLiteral("Inf/Default.inf"));

    // A save keeps the window open with its line, as the window's own save does.
    const bool closes = answer == QStringLiteral("discard");
    QCOMPARE(rig.form->isVisible(), !closes);
    QCOMPARE(QFile::exists(defaults), closes);  // written only when the window really closes
    if (answer == QStringLiteral("saveOk")) {
        const QByteArray saved = readAll(target);
        QCOMPARE(saved.size(), 270636);
        QVERIFY(saved.left(static_cast<int>(kImage)) == QByteArray(static_cast<int>(kImage), '\xFF'));
        QCOMPARE(saved.mid(270337, 25), QByteArray("Typed before the question"));
        QVERIFY(!rig.form->reader().unsaved());
        QVERIFY(rig.form->statusText().startsWith(QStringLiteral("Информация сохранена в фале: erased.nkp")));
        rig.form->BitBtn_CloseClick();  // closes without a second question
        QVERIFY(!rig.form->isVisible());
        QCOMPARE(rig.prompts.callsOf("question").size(), std::size_t {1});
        return;
    } else {
        QVERIFY(!QFile::exists(target));
    }
    if (answer == QStringLiteral("saveFails"))
        QCOMPARE(rig.prompts.callsOf("error").size(), std::size_t {2});  // Default.inf, then the save
    if (closes)
        return;

    // Kept: the read-out, the typed text, the flag; a second try can still save it.
    QVERIFY(rig.form->reader().unsaved());
    QCOMPARE(rig.form->reader().image(), std::vector<std::uint8_t>(kImage, 0xFF));
    QCOMPARE(
        control<QLineEdit>(*rig.form, "Edit_ServOrg")->text(), QStringLiteral("Typed before the question"));
    rig.prompts.saveChoices.push_back(SaveChoice::Save);
    rig.prompts.fileAnswers.push_back(target.toStdString());
    rig.form->BitBtn_CloseClick();
    QVERIFY(rig.form->isVisible());  // saved: the window shows where, a further "Закрыть" closes
    rig.form->BitBtn_CloseClick();
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(readAll(target).mid(270337, 25), QByteArray("Typed before the question"));
    QVERIFY(readAll(defaults).startsWith("Typed before the question\r\n"));
}

void tst_Readnkp3::questionBoxOffersSaveDiscardCancelAndEscCancels()
{
    nkp::ui::QtUserPrompts prompts;
    QStringList buttons;
    bool pressed = false;
    // Answers the box from inside its own event loop, once it is up.
    QTimer timer;
    bool escape = true;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || pressed)
            return;
        pressed = true;
        buttons.clear();
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        if (escape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QStringLiteral("Не сохранять"))
                    b->click();
    });
    timer.start(10);
    auto answer = [&](bool withEscape) {
        escape = withEscape;
        pressed = false;
    };
    answer(true);
    QCOMPARE(prompts.saveDiscardCancel(utf8ToCp1251("Предупреждение"), utf8ToCp1251("Сохранить?")),
        SaveChoice::Cancel);
    QVERIFY(pressed);
    buttons.sort();
    QCOMPARE(buttons,
        (QStringList {
            QStringLiteral("Не сохранять"), QStringLiteral("Отмена"), QStringLiteral("Сохранить")}));
    answer(false);
    QCOMPARE(prompts.saveDiscardCancel(utf8ToCp1251("Предупреждение"), utf8ToCp1251("Сохранить?")),
        SaveChoice::Discard);
    QVERIFY(pressed);
}

void tst_Readnkp3::saveIntoReadOnlyFolderLeavesEverythingAsItWas()
{
    Rig rig;
    rig.plugRecorder(nkp::test::checkedImage(13));
    rig.form->show();
    QVERIFY(rig.read());
    const QColor colour = rig.form->statusColour();
    // A folder that does not exist.
    rig.prompts.fileAnswers.push_back(rig.path(QStringLiteral("missing/new.nkp")).toStdString());
    rig.form->BitBtn_SaveFileClick();
    QCOMPARE(rig.prompts.callsOf("error").size(), std::size_t {2});  // the missing Default.inf, then the save
    QVERIFY(rig.prompts.callsOf("error")[1].text.find("missing/new.nkp") != std::string::npos);
    QVERIFY(rig.form->reader().unsaved());
    QCOMPARE(rig.form->statusColour(), colour);

    // A folder without write permission, over an existing file.
    const QString folder = rig.path(QStringLiteral("locked"));
    const QString target = folder + QStringLiteral("/old.nkp");
    writeAll(target, "old contents");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(folder).isWritable())
        QSKIP("running as root: permissions are not enforced");
    rig.prompts.fileAnswers.push_back(target.toStdString());
    rig.form->BitBtn_SaveFileClick();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const auto errors = rig.prompts.callsOf("error");
    QCOMPARE(errors.size(), std::size_t {3});
    QVERIFY(errors[2].text.find("old.nkp") != std::string::npos);
    QVERIFY(rig.form->reader().unsaved());
    QCOMPARE(rig.form->statusColour(), colour);
    QCOMPARE(readAll(target), QByteArray("old contents"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList {QStringLiteral("old.nkp")});
    QCOMPARE(rig.form->reader().image(), nkp::test::checkedImage(13));
}

void tst_Readnkp3::identificationFilesRoundTripWithEveryLineEnd()
{
    Rig rig;
    rig.form->show();
    // The proposed name is the crane model, " №" and the crane number.
    rig.prompts.fileAnswers.push_back(std::nullopt);
    rig.form->BitBtn_SaveInfClick();
    QCOMPARE(
        QString::fromStdString(rig.prompts.dialogs.back().fileName), QStringLiteral("КС-ХХХХХА-ХХ №0000000"));
    QCOMPARE(rig.prompts.dialogs.back().defaultExtension, std::string("inf"));

    for (const QByteArray& eol : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        const QString file = rig.path(QStringLiteral("in.inf"));
        writeAll(file, infBytes(sampleLines(), eol));
        rig.clock.ms += 60000;
        rig.prompts.fileAnswers.push_back(file.toStdString());
        rig.form->BitBtn_LoadInfClick();
        QCOMPARE(control<QLineEdit>(*rig.form, "Edit_NKran")->text(), QStringLiteral("1234567890"));
        QCOMPARE(control<QLineEdit>(*rig.form, "MaskEdit_DateUd")->text(), QStringLiteral("01.02.2027"));
        QVERIFY(control<QLineEdit>(*rig.form, "MaskEdit_DateRead")->text()
            != QStringLiteral("04.03.2026 05:06"));  // refreshed

        const QString out = rig.path(QStringLiteral("out.inf"));
        rig.prompts.fileAnswers.push_back(out.toStdString());
        rig.form->BitBtn_SaveInfClick();
        QCOMPARE(readAll(out), infBytes(sampleLines(), "\r\n"));
    }
    QCOMPARE(rig.prompts.callsOf("error").size(), std::size_t {1});  // only the missing Default.inf
}

void tst_Readnkp3::shortIdentificationFileFillsWhatItHas()
{
    Rig rig;
    rig.form->show();
    const QString file = rig.path(QStringLiteral("short.inf"));
    writeAll(file, "one\r\ntwo\r\nthree\r\n");
    rig.clock.ms += 3600000;
    rig.prompts.fileAnswers.push_back(file.toStdString());
    rig.form->BitBtn_LoadInfClick();
    QCOMPARE(control<QLineEdit>(*rig.form, "Edit_ServOrg")->text(), QStringLiteral("one"));
    QCOMPARE(control<QLineEdit>(*rig.form, "Edit_NUd")->text(), QStringLiteral("three"));
    QCOMPARE(control<QLineEdit>(*rig.form, "MaskEdit_DateUd")->text(), QStringLiteral("00.00.0000"));
    QCOMPARE(control<QLineEdit>(*rig.form, "MaskEdit_DateRead")->text(),
        QStringLiteral("04.03.2026 05:06"));  // not refreshed
    const auto errors = rig.prompts.callsOf("error");
    QCOMPARE(errors.size(), std::size_t {2});
    QVERIFY(errors[1].text.find("нет строки 4") != std::string::npos);
}

void tst_Readnkp3::nothingElseRunsDuringAReading()
{
    Rig rig;
    rig.plugRecorder(nkp::test::checkedImage(13));
    rig.form->show();
    QVERIFY(rig.startAndHold(4096));
    QVERIFY(rig.form->readingInProgress());
    // The window stays responsive: its events run while the transfer waits.
    QTRY_COMPARE(rig.form->statusText(), QStringLiteral("НКП-3, подключен к порту ttyUSB0"));
    QCOMPARE(rig.form->statusColour(), QColor(255, 0, 0));
    for (QPushButton* b :
        {control<QPushButton>(*rig.form, "BitBtn_SaveInf"), control<QPushButton>(*rig.form, "BitBtn_LoadInf"),
            control<QPushButton>(*rig.form, "BitBtn_ReadNKP3"),
            control<QPushButton>(*rig.form, "BitBtn_SaveFile"),
            control<QPushButton>(*rig.form, "BitBtn_Close")})
        QVERIFY2(!b->isEnabled(), qPrintable(b->text()));
    QVERIFY(control<QPushButton>(*rig.form, "BitBtn_Abort")->isVisible());
    QVERIFY(control<QPushButton>(*rig.form, "BitBtn_Abort")->isEnabled());

    // Every handler, the close box and Esc are tried anyway.
    const std::size_t callsBefore = rig.prompts.calls.size();
    rig.prompts.fileAnswers.push_back(rig.path(QStringLiteral("x.nkp")).toStdString());
    rig.form->BitBtn_ReadNKP3Click();
    rig.form->BitBtn_SaveFileClick();
    rig.form->BitBtn_SaveInfClick();
    rig.form->BitBtn_LoadInfClick();
    rig.form->BitBtn_CloseClick();
    rig.form->close();
    rig.form->reject();
    QTest::keyClick(rig.form.get(), Qt::Key_Escape);
    QCOMPARE(rig.prompts.calls.size(), callsBefore);
    rig.holdAtBytes = -1;
    QTRY_VERIFY_WITH_TIMEOUT(!rig.form->readingInProgress(), 20000);

    QCOMPARE(rig.prompts.calls.size(), callsBefore);                 // no dialog was run
    QCOMPARE(rig.prompts.callsOf("error").size(), std::size_t {1});  // only the missing Default.inf
    QVERIFY(rig.form->isVisible());
    QVERIFY(!QFile::exists(rig.path(QStringLiteral("x.nkp"))));
    QVERIFY(!QFile::exists(rig.path(QStringLiteral("Inf/Default.inf"))));
    QCOMPARE(rig.form->statusText(), QStringLiteral("Считывание успешно завершено!"));
    QCOMPARE(rig.form->reader().image(), nkp::test::checkedImage(13));
    QCOMPARE(
        std::count(rig.portLog.begin(), rig.portLog.end(), std::string("write 02")), 1);  // one reading only
    QCOMPARE(rig.portLog.back(), std::string("dropped closed"));
    for (QPushButton* b :
        {control<QPushButton>(*rig.form, "BitBtn_SaveInf"), control<QPushButton>(*rig.form, "BitBtn_LoadInf"),
            control<QPushButton>(*rig.form, "BitBtn_ReadNKP3"),
            control<QPushButton>(*rig.form, "BitBtn_SaveFile"),
            control<QPushButton>(*rig.form, "BitBtn_Close")})
        QVERIFY2(b->isEnabled(), qPrintable(b->text()));
    QVERIFY(!control<QPushButton>(*rig.form, "BitBtn_Abort")->isVisible());
}

void tst_Readnkp3::byteCountFollowsTheTransfer()
{
    Rig rig;
    rig.plugRecorder(nkp::test::checkedImage(13));
    rig.form->show();
    QVERIFY(!control<QLabel>(*rig.form, "Label_Bytes")->isVisible());
    const QSize before = rig.form->size();
    QVERIFY(rig.startAndHold(8192));
    QTRY_COMPARE(rig.form->byteCountText(), QStringLiteral("Считано 8192 из 270336 байт"));
    QVERIFY(control<QLabel>(*rig.form, "Label_Bytes")->isVisible());
    QTRY_COMPARE(control<QProgressBar>(*rig.form, "CGauge_Process")->value(), 0);
    QCOMPARE(rig.form->size(), before);  // the fixed window keeps its size

    rig.holdAtBytes = 110592;
    QTRY_COMPARE(rig.form->byteCountText(), QStringLiteral("Считано 110592 из 270336 байт"));
    QTRY_COMPARE(control<QProgressBar>(*rig.form, "CGauge_Process")->value(), 4);

    // The window as the user sees it during a reading.
    const QString folder = screenshotFolder();
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(rig.form->grab().save(folder + QStringLiteral("/reading.png")));

    rig.holdAtBytes = -1;
    QTRY_VERIFY_WITH_TIMEOUT(!rig.form->readingInProgress(), 20000);
    QCOMPARE(rig.form->byteCountText(), QStringLiteral("Считано 270336 из 270336 байт"));
    QCOMPARE(rig.form->statusText(), QStringLiteral("Считывание успешно завершено!"));
}

void tst_Readnkp3::abortStopsTheReadingCleanly()
{
    Rig rig;
    rig.plugRecorder(nkp::test::checkedImage(13));
    rig.form->show();
    // A saved good reading first, so that the image holds something to keep.
    QVERIFY(rig.read());
    rig.prompts.fileAnswers.push_back(rig.path(QStringLiteral("first.nkp")).toStdString());
    rig.form->BitBtn_SaveFileClick();
    QVERIFY(!rig.form->reader().unsaved());

    // Stopped mid-transfer.
    QVERIFY(rig.startAndHold(12288));
    QTest::mouseClick(control<QPushButton>(*rig.form, "BitBtn_Abort"), Qt::LeftButton);
    QVERIFY(!control<QPushButton>(*rig.form, "BitBtn_Abort")->isEnabled());  // pressed once only
    rig.holdAtBytes = -1;  // the read under way ends, then the reading stops
    QTRY_VERIFY_WITH_TIMEOUT(!rig.form->readingInProgress(), 20000);
    QCOMPARE(rig.form->statusText(), QStringLiteral("Считывание прервано пользователем"));
    QCOMPARE(rig.form->statusColour(), rig.form->palette().color(QPalette::Button));
    QCOMPARE(control<QProgressBar>(*rig.form, "CGauge_Process")->value(), 0);
    QCOMPARE(rig.form->byteCountText(), QStringLiteral("Считано 16384 из 270336 байт"));
    QVERIFY(!rig.form->reader().unsaved());
    const std::vector<std::string> tail(rig.portLog.end() - 4, rig.portLog.end());
    QCOMPARE(
        tail, (std::vector<std::string> {"restore line", "restore timeouts", "close", "dropped closed"}));
    QCOMPARE(QDir(rig.path(QString())).entryList({QStringLiteral("*.nkp")}, QDir::Files),
        QStringList {QStringLiteral("first.nkp")});
    QVERIFY(control<QPushButton>(*rig.form, "BitBtn_ReadNKP3")->isEnabled());
    QVERIFY(!control<QPushButton>(*rig.form, "BitBtn_Abort")->isVisible());

    // Stopped while the port is being searched.
    QVERIFY(rig.startAndHold(0));
    rig.form->BitBtn_AbortClick();
    rig.holdAtBytes = -1;
    QTRY_VERIFY_WITH_TIMEOUT(!rig.form->readingInProgress(), 20000);
    QCOMPARE(rig.form->statusText(), QStringLiteral("Считывание прервано пользователем"));
    QVERIFY(std::find(rig.portLog.begin(), rig.portLog.end(), std::string("write 02")) == rig.portLog.end());
    QCOMPARE(rig.portLog.back(), std::string("dropped closed"));

    // Nothing unsaved: the window closes without a question.
    rig.form->close();
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(rig.prompts.callsOf("question").size(), std::size_t {0});
}

void tst_Readnkp3::newReadingAsksBeforeAnUnsavedOneIsOverwritten()
{
    Rig rig;
    rig.plugRecorder(nkp::test::checkedImage(13));
    rig.form->show();
    QVERIFY(rig.read());
    QVERIFY(rig.form->reader().unsaved());
    rig.portLog.clear();
    rig.prompts.saveChoices.push_back(SaveChoice::Cancel);
    rig.form->BitBtn_ReadNKP3Click();
    QVERIFY(!rig.form->readingInProgress());
    QVERIFY(rig.portLog.empty());  // no port was opened
    QVERIFY(rig.form->reader().unsaved());
    QCOMPARE(rig.form->statusText(), QStringLiteral("Считывание успешно завершено!"));

    rig.prompts.saveChoices.push_back(SaveChoice::Discard);
    QVERIFY(rig.read());
    QCOMPARE(rig.prompts.callsOf("question").size(), std::size_t {2});
    QCOMPARE(std::count(rig.portLog.begin(), rig.portLog.end(), std::string("write 02")), 1);
}

// The key of the setting signs every saved reading, its passphrase asked
// until one opens it, then never again in this run; a signature that fails
// is shown and the data file stays saved.
void tst_Readnkp3::savedReadingsAreSignedWithTheKeyOfTheSetting()
{
    QStandardPaths::setTestModeEnabled(true);  // settings of their own
    QSettings().setValue(QStringLiteral("archive/addSavedReadings"), false);
    Rig rig;
    const std::string key = rig.path(QStringLiteral("engineer.key")).toStdString();
    QVERIFY(nkp::signing::writeNewKey(key, "Иванов", "пароль"));
    rig.plugRecorder(nkp::test::checkedImage(3));
    QVERIFY(rig.read());
    const struct {
        QString key;
        std::optional<std::string> passphrase;  // typed when asked
        bool asked, signedFile;
    } saves[] = {
        {QString::fromStdString(key), "неверный", true, false},
        {QString::fromStdString(key), "пароль", true, true},
        {QString::fromStdString(key), std::nullopt, false, true},  // opened once for the run
        {rig.path(QStringLiteral("missing.key")), std::nullopt, false, false},
    };
    int n = 0;
    for (const auto& save : saves) {
        nkp::ui::setSigningKeyPath(save.key);
        const QString target = rig.path(QStringLiteral("r%1.nkp").arg(++n));
        rig.prompts.fileAnswers.push_back(target.toStdString());
        rig.prompts.secretAnswers = {save.passphrase};
        const std::size_t errors = rig.prompts.callsOf("error").size();
        rig.form->BitBtn_SaveFileClick();
        QVERIFY(QFile::exists(target));  // saved whatever the signature did
        QCOMPARE(rig.prompts.secretAnswers.empty(), save.asked);
        QCOMPARE(QFile::exists(target + QStringLiteral(".sig")), save.signedFile);
        QCOMPARE(rig.prompts.callsOf("error").size(), errors + (save.signedFile ? 0 : 1));
        QVERIFY2(rig.form->statusText().contains(
                     save.signedFile ? QStringLiteral("; подписан") : QStringLiteral("; не подписан: ")),
            qPrintable(rig.form->statusText()));
    }
    const auto verification = nkp::signing::verifyFile(rig.path(QStringLiteral("r2.nkp")).toStdString(),
        {{*nkp::signing::readPublicKey(nkp::signing::publicKeyPath(key))}});
    QVERIFY(verification);
    QCOMPARE(verification->status, nkp::signing::SignatureStatus::Valid);
    QVERIFY(verification->record->atReading);
    QCOMPARE(verification->record->port, std::string("ttyUSB0"));
    nkp::ui::setSigningKeyPath({});
    QSettings().remove(QStringLiteral("archive/addSavedReadings"));
}

QTEST_MAIN(tst_Readnkp3)
#include "tst_readnkp3.moc"
