// The reading window with scripted prompts, scripted ports and a virtual clock.
#include "FakeSerialPort.h"
#include "ScriptedUserPrompts.h"
#include "TestImages.h"

#include "codec/Codec.h"
#include "ui/Readnkp3.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using nkp::codec::utf8ToCp1251;
using nkp::device::test::FakeDevice;
using nkp::device::test::FakeSerialPort;
using nkp::device::test::VirtualClock;
using nkp::test::ScriptedUserPrompts;

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

// One window with its surroundings in a temporary start directory.
struct Rig {
    QTemporaryDir dir;
    ScriptedUserPrompts prompts;
    VirtualClock clock;
    FakeSerialPort* port = nullptr;  // owned by the window's port factory
    std::map<std::string, FakeDevice> devices;
    std::function<void()> onRead;  // runs inside the port's reads
    std::unique_ptr<TForm_ReadNKP3> form;

    Rig()
    {
        ReadingDeviceAccess access;
        access.portSlots = [] { return std::vector<nkp::device::PortSlot> {{"ttyUSB0", "dev0"}}; };
        access.makePort = [this] {
            auto p = std::make_unique<FakeSerialPort>(clock);
            p->devices = devices;
            p->onRead = [this] {
                if (onRead)
                    onRead();
            };
            port = p.get();
            return p;
        };
        access.clock = &clock;
        form = std::make_unique<TForm_ReadNKP3>(nullptr, prompts, dir.path(), access);
    }
    QString path(const QString& rel) const { return dir.filePath(rel); }
    void plugRecorder(std::vector<std::uint8_t> image)
    {
        FakeDevice d;
        d.probeAnswer = 0xA0;
        d.transfer = {{5, std::move(image)}};
        devices["dev0"] = d;
    }
};

}  // namespace

class tst_Readnkp3 : public QObject {
    Q_OBJECT

private slots:
    void opensWithDefaultsAndTheReadingDate();
    void missingDefaultsKeepTheInitialTextsAndAreReported();
    void readingSaveAndCloseWriteByteExactFiles();
    void closeQuestionOkSavesAndStaysOpen();
    void saveIntoReadOnlyFolderLeavesEverythingAsItWas();
    void identificationFilesRoundTripWithEveryLineEnd();
    void shortIdentificationFileFillsWhatItHas();
    void nothingElseRunsDuringAReading();
};

void tst_Readnkp3::opensWithDefaultsAndTheReadingDate()
{
    Rig rig;
    writeAll(rig.path(QStringLiteral("Inf/Default.inf")), infBytes(sampleLines(), "\r\n"));
    QCOMPARE(rig.form->statusText(), QStringLiteral("Выполняемая операция..."));
    QCOMPARE(rig.form->Edit_ServOrg->text(), QStringLiteral("ООО \"Сервисная огранизация\""));
    QCOMPARE(rig.form->CGauge_Process->maximum(), 10);
    rig.form->show();
    QCOMPARE(rig.form->MaskEdit_DateRead->text(), QStringLiteral("04.03.2026 05:06"));
    QCOMPARE(rig.form->Edit_ServOrg->text(), QStringLiteral("ООО \"Кран-Сервис\""));
    QCOMPARE(rig.form->Edit_AKran->text(), QStringLiteral("А5"));
    QCOMPARE(rig.form->Edit_NKTPB->text(), QStringLiteral("4321"));
    QVERIFY(rig.prompts.calls.empty());
}

void tst_Readnkp3::missingDefaultsKeepTheInitialTextsAndAreReported()
{
    Rig rig;
    rig.form->show();
    QCOMPARE(rig.prompts.callsOf("error").size(), std::size_t {1});
    QVERIFY(rig.prompts.calls[0].text.find("Default.inf") != std::string::npos);
    QCOMPARE(rig.form->Edit_MKran->text(), QStringLiteral("КС-ХХХХХА-ХХ"));
    QCOMPARE(rig.form->MaskEdit_DateRead->text(), QStringLiteral("04.03.2026 05:06"));
    // The title bar's close box: no question, the defaults are written with
    // CR LF, the Inf folder created; an unmappable character becomes "?".
    rig.form->Edit_NameOper->setText(QStringLiteral("Кран ✓"));
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
    rig.form->BitBtn_ReadNKP3Click();
    QCOMPARE(rig.form->statusText(), QStringLiteral("Считывание успешно завершено!"));
    QCOMPARE(rig.form->statusColour(), QColor(0, 128, 0));
    QCOMPARE(rig.form->CGauge_Process->value(), 0);
    QVERIFY(rig.form->reader().unsaved());

    rig.form->Edit_NKran->setText(QStringLiteral("123456789012"));  // 10 wide: cut
    const QString target = rig.path(QStringLiteral("Файлы/crane.nkp"));
    QDir().mkpath(QFileInfo(target).absolutePath());
    rig.prompts.fileAnswers.push_back(target.toStdString());
    rig.form->BitBtn_SaveFileClick();
    const auto& dialog = rig.prompts.dialogs.back();
    QCOMPARE(QString::fromStdString(dialog.initialDir), rig.path(QStringLiteral("Файлы")));
    QCOMPARE(QByteArray::fromStdString(dialog.filter), cp("Файлы РП ТРВ-160С (*.nkp)|*.nkp"));
    QCOMPARE(dialog.defaultExtension, std::string("nkp"));
    // The saved reading went into the archive of the start folder too.
    QCOMPARE(
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
    QVERIFY2(rig.form->statusText().startsWith(
                 QStringLiteral("Информация сохранена в фале: crane2.nkp; в архив не добавлено: ")),
        qPrintable(rig.form->statusText()));
    QVERIFY(readAll(second) == expected);

    // Saved: "Закрыть" closes without a question.
    rig.form->BitBtn_CloseClick();
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(rig.prompts.callsOf("warning").size(), std::size_t {0});
}

void tst_Readnkp3::closeQuestionOkSavesAndStaysOpen()
{
    Rig rig;
    rig.plugRecorder(std::vector<std::uint8_t>(kImage, 0xFF));
    rig.form->show();
    rig.form->BitBtn_ReadNKP3Click();
    QCOMPARE(rig.form->statusText(), QStringLiteral("Несоответствие контрольной суммы!"));
    rig.form->Edit_ServOrg->setText(QStringLiteral("Typed before the question"));
    const QString target = rig.path(QStringLiteral("erased.nkp"));
    rig.prompts.warningAnswers.push_back(true);
    rig.prompts.fileAnswers.push_back(target.toStdString());
    rig.form->BitBtn_CloseClick();
    QCOMPARE(rig.prompts.callsOf("warning").at(0).text,
        utf8ToCp1251("Файл с информацией не сохранен! \nСохранить?"));
    QVERIFY(rig.form->isVisible());
    QCOMPARE(readAll(target).mid(270337, 25), QByteArray("Typed before the question"));

    // A new unsaved reading, then Cancel: the window closes, the read-out is lost.
    rig.form->BitBtn_ReadNKP3Click();
    rig.prompts.warningAnswers.push_back(false);
    rig.form->BitBtn_CloseClick();
    QVERIFY(!rig.form->isVisible());
    QVERIFY(readAll(rig.path(QStringLiteral("Inf/Default.inf"))).startsWith("Typed before the question\r\n"));
}

void tst_Readnkp3::saveIntoReadOnlyFolderLeavesEverythingAsItWas()
{
    Rig rig;
    rig.plugRecorder(nkp::test::checkedImage(13));
    rig.form->show();
    rig.form->BitBtn_ReadNKP3Click();
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
        QCOMPARE(rig.form->Edit_NKran->text(), QStringLiteral("1234567890"));
        QCOMPARE(rig.form->MaskEdit_DateUd->text(), QStringLiteral("01.02.2027"));
        QVERIFY(rig.form->MaskEdit_DateRead->text() != QStringLiteral("04.03.2026 05:06"));  // refreshed

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
    QCOMPARE(rig.form->Edit_ServOrg->text(), QStringLiteral("one"));
    QCOMPARE(rig.form->Edit_NUd->text(), QStringLiteral("three"));
    QCOMPARE(rig.form->MaskEdit_DateUd->text(), QStringLiteral("00.00.0000"));
    QCOMPARE(rig.form->MaskEdit_DateRead->text(), QStringLiteral("04.03.2026 05:06"));  // not refreshed
    const auto errors = rig.prompts.callsOf("error");
    QCOMPARE(errors.size(), std::size_t {2});
    QVERIFY(errors[1].text.find(utf8ToCp1251("нет строки 4")) != std::string::npos);
}

void tst_Readnkp3::nothingElseRunsDuringAReading()
{
    Rig rig;
    rig.plugRecorder(nkp::test::checkedImage(13));
    rig.form->show();
    bool pressed = false;
    std::size_t callsBefore = 0;
    // Every button and the close box are pressed while the transfer runs.
    rig.onRead = [&] {
        if (pressed || rig.port->bytesRead == 0)
            return;
        pressed = true;
        QVERIFY(rig.form->readingInProgress());
        callsBefore = rig.prompts.calls.size();
        rig.prompts.fileAnswers.push_back(rig.path(QStringLiteral("x.nkp")).toStdString());
        rig.form->BitBtn_ReadNKP3Click();
        rig.form->BitBtn_SaveFileClick();
        rig.form->BitBtn_SaveInfClick();
        rig.form->BitBtn_LoadInfClick();
        rig.form->BitBtn_CloseClick();
        rig.form->close();
        rig.form->reject();
    };
    rig.form->BitBtn_ReadNKP3Click();
    QVERIFY(pressed);
    QCOMPARE(rig.prompts.calls.size(), callsBefore);  // no dialog was run
    QVERIFY(rig.form->isVisible());
    QVERIFY(!QFile::exists(rig.path(QStringLiteral("x.nkp"))));
    QVERIFY(!QFile::exists(rig.path(QStringLiteral("Inf/Default.inf"))));
    QCOMPARE(rig.form->statusText(), QStringLiteral("Считывание успешно завершено!"));
    QCOMPARE(rig.form->reader().image(), nkp::test::checkedImage(13));
}

QTEST_MAIN(tst_Readnkp3)
#include "tst_readnkp3.moc"
