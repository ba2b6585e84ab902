// The reading window's handlers: reading, saving the data file, identification
// files and the defaults kept in Inf/Default.inf.
#include "ui/reading/Readnkp3.h"

#include "archive/ArchiveAddress.h"
#include "base/Codec.h"
#include "base/Log.h"
#include "device/ReadoutFile.h"
#include "device/qt/QtSerialPortIo.h"
#include "device/qt/SystemPortSlots.h"
#include "recorder/DataFileLayout.h"
#include "ui/archive/ArchiveMenu.h"
#include "ui/common/UiText.h"
#include "ui/common/WriteFailure.h"
#include "ui/reading/ReadingPhaseColour.h"
#include "ui/reading/ReadingSignature.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>

namespace {

using nkp::ui::fromCp1251;
using nkp::ui::toCp1251;

const char* const kErrorCaption = "Ошибка";

}  // namespace

TForm_ReadNKP3::TForm_ReadNKP3(
    QWidget* parent, nkp::UserPrompts& prompts, const QString& startDirectory, ReadingDeviceAccess access)
    : QDialog(parent)
    , prompts_(prompts)
    , startDirectory_(startDirectory)
    , access_(std::move(access))
{
    if (!access_.portSlots)
        access_.portSlots = nkp::device::systemPortSlots;
    if (!access_.makePort)
        access_.makePort = [] { return std::make_unique<nkp::device::QtSerialPortIo>(); };
    if (!access_.clock)
        access_.clock = &nkp::base::systemClock();
    createControls();
    StatusBar_ReadNKP3->setPalette(palette());
}

TForm_ReadNKP3::~TForm_ReadNKP3()
{
    // A window torn down under a running reading stops it and waits, since
    // the reading writes into this window's image.
    if (worker_)
        worker_->requestCancel();
    stopReadingThread();
}

// --- opening and closing ---------------------------------------------------

void TForm_ReadNKP3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only when the window opens: becoming active again after a message box
    // must not wipe what was typed since.
    if (!activated_) {
        activated_ = true;
        FormActivate();
    }
}

void TForm_ReadNKP3::FormActivate()
{
    refreshReadingDate();
    applyInfFile(defaultInfPath());
    // A saved reading may go into the archive: no save replaces its files.
    archiveInputs_ = nkp::fileio::InputScope(
        nkp::archive::archiveFiles(nkp::ui::archiveLocation(startDirectory_).toStdString()));
}

void TForm_ReadNKP3::closeEvent(QCloseEvent* event)
{
    // The dialog's own close handling runs reject(), which asks about an
    // unsaved read-out and keeps the window open while a reading runs.
    QDialog::closeEvent(event);
}

void TForm_ReadNKP3::reject()
{
    if (busy_ || !mayDiscardReadout(true))
        return;
    QDialog::reject();
}

void TForm_ReadNKP3::done(int result)
{
    if (busy_)
        return;
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    QDialog::done(result);
}

bool TForm_ReadNKP3::mayDiscardReadout(bool closing)
{
    if (!reader_.unsaved())
        return true;
    switch (prompts_.saveDiscardCancel("Предупреждение", "Файл с информацией не сохранен! \nСохранить?")) {
    case nkp::UserPrompts::SaveChoice::Save:
        // On closing, as after the window's own save, the window stays open
        // with the saved file's line; a further "Закрыть" closes it.
        return saveDataFile() && !closing;
    case nkp::UserPrompts::SaveChoice::Discard:
        return true;
    case nkp::UserPrompts::SaveChoice::Cancel:
        break;
    }
    return false;
}

void TForm_ReadNKP3::FormClose()
{
    const QString path = defaultInfPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::string error;
    if (!writeIdentification(path.toStdString(), &error) && !error.empty())
        prompts_.error(kErrorCaption,
            std::string("Идентификация по умолчанию не сохранена в файле \"") + path.toStdString() + "\":\n"
                + error);
}

void TForm_ReadNKP3::BitBtn_CloseClick()
{
    if (busy_)
        return;
    close();
}

// --- reading ---------------------------------------------------------------

void TForm_ReadNKP3::BitBtn_ReadNKP3Click()
{
    // A new reading goes over the image: an unsaved one is asked about first.
    if (busy_ || !mayDiscardReadout())
        return;
    busy_ = true;
    setReadingControls(true);
    showByteCount(0);
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("NKP-3 reading"));
    worker_ = new ReadingWorker(reader_, access_);
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::started, worker_, &ReadingWorker::run);
    connect(worker_, &ReadingWorker::statusTextChanged, this, &TForm_ReadNKP3::setStatus);
    connect(worker_, &ReadingWorker::phaseChanged, this,
        [this](int phase) { showPhase(static_cast<nkp::device::ReadingPhase>(phase)); });
    connect(worker_, &ReadingWorker::gaugeChanged, this, &TForm_ReadNKP3::showGauge);
    connect(worker_, &ReadingWorker::progressAvailable, this, [this] {
        if (worker_)
            showByteCount(worker_->takeProgress());
        readingPort_ = worker_->portShortName();
    });
    connect(worker_, &ReadingWorker::finished, this, &TForm_ReadNKP3::readingFinished);
    thread_->start();
}

void TForm_ReadNKP3::BitBtn_AbortClick()
{
    if (!worker_)
        return;
    worker_->requestCancel();
    BitBtn_Abort->setEnabled(false);  // the reading stops at its next read
}

void TForm_ReadNKP3::readingFinished()
{
    showByteCount(worker_->takeProgress());
    stopReadingThread();
    busy_ = false;
    setReadingControls(false);
}

void TForm_ReadNKP3::stopReadingThread()
{
    if (!thread_)
        return;
    // The worker has left its run(); the thread ends at once.
    thread_->quit();
    thread_->wait();
    delete worker_;
    worker_ = nullptr;
    delete thread_;
    thread_ = nullptr;
}

void TForm_ReadNKP3::setReadingControls(bool reading)
{
    for (QPushButton* button :
        {BitBtn_SaveInf, BitBtn_LoadInf, BitBtn_ReadNKP3, BitBtn_SaveFile, BitBtn_Close})
        button->setEnabled(!reading);
    BitBtn_Abort->setVisible(reading);
    BitBtn_Abort->setEnabled(reading);
    if (reading)
        Label_Bytes->setVisible(true);
}

void TForm_ReadNKP3::showPhase(nkp::device::ReadingPhase phase)
{
    showStatusBarColour(nkp::ui::readingPhaseColour(phase, palette().color(QPalette::Button)));
}

void TForm_ReadNKP3::showStatusBarColour(const QColor& c)
{
    QPalette p = StatusBar_ReadNKP3->palette();
    p.setColor(QPalette::Window, c);
    StatusBar_ReadNKP3->setPalette(p);
}

void TForm_ReadNKP3::showGauge(int position)
{
    CGauge_Process->setValue(position);
}

void TForm_ReadNKP3::showByteCount(std::size_t bytes)
{
    Label_Bytes->setText(QStringLiteral("Считано %1 из %2 байт")
                             .arg(static_cast<qulonglong>(bytes))
                             .arg(static_cast<qulonglong>(nkp::recorder::kImageSize)));
}

QString TForm_ReadNKP3::byteCountText() const
{
    return Label_Bytes->text();
}

void TForm_ReadNKP3::setStatus(const QString& text)
{
    statusLabel_->setText(text);
}

QString TForm_ReadNKP3::statusText() const
{
    return statusLabel_->text();
}

QColor TForm_ReadNKP3::statusColour() const
{
    return StatusBar_ReadNKP3->palette().color(QPalette::Window);
}

// --- saving the data file --------------------------------------------------

void TForm_ReadNKP3::BitBtn_SaveFileClick()
{
    if (busy_)
        return;
    saveDataFile();
}

bool TForm_ReadNKP3::saveDataFile()
{
    nkp::UserPrompts::FileDialog dialog;
    dialog.initialDir = QDir(startDirectory_).filePath(QStringLiteral("Файлы")).toStdString();
    dialog.filter = "Файлы РП ТРВ-160С (*.nkp)|*.nkp";
    dialog.defaultExtension = "nkp";
    dialog.fileName = proposedFileName().toStdString();
    setStatus(savingStatusText(fromCp1251(nkp::device::imageStatusText(reader_.image()))));
    const std::optional<std::string> path = prompts_.saveFile(dialog);
    if (!path || nkp::ui::refusedAsInput(prompts_, QString::fromUtf8(kErrorCaption), *path))
        return false;
    if (const nkp::Done saved
        = nkp::device::saveReadout(*path, reader_.image(), infFields(), toCp1251(MaskEdit_DateRead->text()));
        !saved) {
        prompts_.error(
            kErrorCaption, std::string("Не удалось сохранить файл \"") + *path + "\":\n" + saved.error());
        return false;
    }
    showGauge(0);
    QString saved = QStringLiteral("Информация сохранена в фале: ")
        + QFileInfo(QString::fromStdString(*path)).fileName();
    // The data file is saved; a signature that fails loses nothing.
    const QString signedWords = nkp::ui::signSavedReading(*path, readingPort_, prompts_);
    if (!signedWords.isEmpty())
        saved += QStringLiteral("; ") + signedWords;
    setStatus(saved);
    // The archive's answer follows in the status line.
    if (nkp::ui::addSavedReadingsToArchive())
        nkp::ui::addSavedReading(
            startDirectory_, QString::fromStdString(*path), *this, [this, saved](const QString& words) {
                // Unless the status line has moved on meanwhile.
                if (statusText() == saved)
                    setStatus(saved + QStringLiteral("; ") + words);
            });
    showStatusBarColour(palette().color(QPalette::Button));
    reader_.markSaved();
    return true;
}

QString TForm_ReadNKP3::savingStatusText(const QString& imageText)
{
    // The recorder's own text may hold control bytes: only what can be read is shown.
    QString readable;
    for (const QChar c : imageText)
        if (c.isPrint())
            readable += c;
    readable = readable.simplified();
    return readable.isEmpty() ? QStringLiteral("Сохранение информации...")
                              : QStringLiteral("Сохранение информации: ") + readable;
}

QString TForm_ReadNKP3::proposedFileName() const
{
    // Crane model, number and the reading's day: "КС-45717К-1 №123 05.03.2024.nkp".
    QString name = Edit_MKran->text().trimmed();
    if (!Edit_NKran->text().trimmed().isEmpty())
        name += QStringLiteral(" №") + Edit_NKran->text().trimmed();
    const QString day = MaskEdit_DateRead->text().left(10);
    if (!day.trimmed().isEmpty())
        name += (name.isEmpty() ? QString() : QStringLiteral(" ")) + day;
    // A name, not a path: no folder separators nor control characters.
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || !c.isPrint())
            c = u'_';
    return (name.isEmpty() ? QStringLiteral("Считывание") : name) + QStringLiteral(".nkp");
}

// --- identification files --------------------------------------------------

nkp::device::InfFields TForm_ReadNKP3::infFields() const
{
    nkp::device::InfFields fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = toCp1251(infEdits_[i]->text());
    return fields;
}

bool TForm_ReadNKP3::applyInfFile(const QString& path)
{
    const auto loaded = nkp::device::loadInf(path.toStdString());
    if (!loaded) {
        // The cause in the user's words; the system's own goes to the log.
        const QFileInfo file(path);
        const char* cause = !file.exists() ? "Файл не найден."
            : file.isDir()                 ? "Это папка, а не файл."
            : !file.isReadable()           ? "Нет прав на чтение файла."
                                           : "Файл не удалось прочитать.";
        nkp::log::write(loaded.failure());
        prompts_.error(
            kErrorCaption, std::string("Не удается открыть файл \"") + path.toStdString() + "\". " + cause);
        return false;
    }
    infInputs_ = nkp::fileio::InputScope({defaultInfPath().toStdString(), path.toStdString()});
    const auto& content = *loaded;
    for (std::size_t i = 0; i < content.lineCount; ++i)
        infEdits_[i]->setText(fromCp1251(content.fields[i]));
    if (!content.complete()) {
        prompts_.error(kErrorCaption,
            std::string("В файле идентификации \"") + path.toStdString() + "\" нет строки "
                + std::to_string(content.lineCount + 1) + " из 13.");
        return false;
    }
    return true;
}

nkp::UserPrompts::FileDialog TForm_ReadNKP3::infDialog() const
{
    nkp::UserPrompts::FileDialog dialog;
    dialog.initialDir = QDir::current().filePath(QStringLiteral("Inf")).toStdString();
    dialog.filter = "Файл идентификации (*.inf)|*.inf";
    // The proposed name: crane model, " №", crane number.
    dialog.fileName = (Edit_MKran->text() + QStringLiteral(" №") + Edit_NKran->text()).toStdString();
    return dialog;
}

bool TForm_ReadNKP3::writeIdentification(const std::string& path, std::string* error)
{
    // The identification files in use are this window's own to update; every
    // other input (a loaded read-out, the archive) is refused.
    nkp::fileio::InputScope kept = std::move(infInputs_);
    if (nkp::ui::refusedAsInput(prompts_, QString::fromUtf8(kErrorCaption), path)) {
        infInputs_ = std::move(kept);
        error->clear();
        return false;
    }
    const nkp::Done saved = nkp::device::saveInf(path, infFields());
    infInputs_ = std::move(kept);
    *error = saved.error();
    return saved.ok();
}

QString TForm_ReadNKP3::defaultInfPath() const
{
    return QDir(startDirectory_).filePath(QStringLiteral("Inf/Default.inf"));
}

void TForm_ReadNKP3::refreshReadingDate()
{
    MaskEdit_DateRead->setText(QString::fromStdString(nkp::device::readingDateText(access_.clock->now())));
}

void TForm_ReadNKP3::BitBtn_SaveInfClick()
{
    if (busy_)
        return;
    nkp::UserPrompts::FileDialog dialog = infDialog();
    dialog.defaultExtension = "inf";
    const std::optional<std::string> path = prompts_.saveFile(dialog);
    if (!path)
        return;
    std::string error;
    if (!writeIdentification(*path, &error) && !error.empty())
        prompts_.error(kErrorCaption, std::string("Не удалось сохранить файл \"") + *path + "\":\n" + error);
}

void TForm_ReadNKP3::BitBtn_LoadInfClick()
{
    if (busy_)
        return;
    const std::optional<std::string> path = prompts_.openFile(infDialog());
    if (!path)
        return;
    if (applyInfFile(QString::fromStdString(*path)))
        refreshReadingDate();
}
