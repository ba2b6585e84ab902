#pragma once

#include "base/InputFiles.h"
#include "base/UserPrompts.h"
#include "device/DeviceReader.h"
#include "device/PortList.h"
#include "device/SerialPortIo.h"
#include "recorder/IdentificationFile.h"
#include "ui/reading/Readnkp3Worker.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QThread;

// The reading window: reads the recorder through the reading device, collects
// the identification, keeps identification files and saves the data file.
// Created anew for each reading session and shown modally. A reading runs in
// a thread of its own; the window stays responsive and can stop it.
class TForm_ReadNKP3 : public QDialog {
    Q_OBJECT

public:
    TForm_ReadNKP3(QWidget* parent, nkp::UserPrompts& prompts, const QString& startDirectory,
        ReadingDeviceAccess access = {});
    ~TForm_ReadNKP3() override;

    // Handlers, named after their controls.
    void FormActivate();
    void BitBtn_ReadNKP3Click();
    void BitBtn_SaveFileClick();
    void BitBtn_SaveInfClick();
    void BitBtn_LoadInfClick();
    void BitBtn_CloseClick();
    void BitBtn_AbortClick();

    const nkp::device::DeviceReader& reader() const { return reader_; }
    QString statusText() const;
    QColor statusColour() const;
    bool readingInProgress() const { return busy_; }
    // The file name the save dialog proposes: crane model, number, reading day.
    QString proposedFileName() const;
    // The status line while saving: the recorder's text without control bytes.
    static QString savingStatusText(const QString& imageText);
    // "Считано N из 270336 байт" beside the gauge.
    QString byteCountText() const;

    // Identification fields in the order of the lines of an identification file.
    std::array<QLineEdit*, nkp::device::kInfLineCount> infEdits() const { return infEdits_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public:
    // Esc, the close box and "Закрыть" all end here.
    void reject() override;
    void done(int result) override;

private:
    QLineEdit* Edit_ServOrg = nullptr;
    QLineEdit* Edit_NameOper = nullptr;
    QLineEdit* Edit_NUd = nullptr;
    QLineEdit* MaskEdit_DateUd = nullptr;
    QLineEdit* MaskEdit_DateRead = nullptr;
    QLineEdit* Edit_MKran = nullptr;
    QLineEdit* Edit_NKran = nullptr;
    QLineEdit* Edit_GodKran = nullptr;
    QLineEdit* Edit_AKran = nullptr;
    QLineEdit* Edit_ZavKran = nullptr;
    QLineEdit* Edit_VladKran = nullptr;
    QLineEdit* Edit_MTPB = nullptr;
    QLineEdit* Edit_NTPB = nullptr;
    QLineEdit* Edit_NKTPB = nullptr;
    QGroupBox* GroupBox_InputInf = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QPushButton* BitBtn_SaveInf = nullptr;
    QPushButton* BitBtn_LoadInf = nullptr;
    QPushButton* BitBtn_ReadNKP3 = nullptr;
    QPushButton* BitBtn_SaveFile = nullptr;
    QPushButton* BitBtn_Close = nullptr;
    QPushButton* BitBtn_Abort = nullptr;  // "Прервать", shown while a reading runs
    QLabel* Label_Bytes = nullptr;
    QProgressBar* CGauge_Process = nullptr;
    QStatusBar* StatusBar_ReadNKP3 = nullptr;

    void createControls();
    void FormClose();
    // False when an unsaved read-out is to stay: the user chose "Отмена", or
    // chose "Сохранить" and the save did not happen.
    // On `closing`, a save keeps the window open: false then too.
    bool mayDiscardReadout(bool closing = false);
    // The save command; true when the data file was written.
    bool saveDataFile();

    // What a running reading shows; each arrives queued from its thread.
    void showPhase(nkp::device::ReadingPhase phase);
    void showStatusBarColour(const QColor& colour);
    void showGauge(int position);
    void showByteCount(std::size_t bytes);
    void readingFinished();
    // Every button but "Прервать" is disabled while a reading runs, here only.
    void setReadingControls(bool reading);
    void stopReadingThread();

    void setStatus(const QString& text);
    nkp::device::InfFields infFields() const;
    // Puts the lines found into the fields; false (after telling the user)
    // when the file could not be read or had fewer than 13 lines.
    bool applyInfFile(const QString& path);
    // The identification file dialog, without its default extension.
    nkp::UserPrompts::FileDialog infDialog() const;
    QString defaultInfPath() const;
    // Writes the fields as an identification file; false with `error`, or
    // with an empty `error` after telling the user that `path` is another
    // input in use.
    bool writeIdentification(const std::string& path, std::string* error);
    void refreshReadingDate();

    nkp::UserPrompts& prompts_;
    // Default.inf and the identification file loaded: no data file replaces them.
    nkp::fileio::InputScope infInputs_;
    nkp::fileio::InputScope archiveInputs_;  // the archive saved readings go to
    QString startDirectory_;
    ReadingDeviceAccess access_;
    nkp::device::DeviceReader reader_;
    std::array<QLineEdit*, nkp::device::kInfLineCount> infEdits_ {};
    QLabel* statusLabel_ = nullptr;
    bool activated_ = false;
    bool closed_ = false;
    bool busy_ = false;
    std::string readingPort_;  // of the reading in the image
    QThread* thread_ = nullptr;
    ReadingWorker* worker_ = nullptr;
};
