#pragma once

#include "archive/CraneTable.h"
#include "base/InputFiles.h"
#include "base/UserPrompts.h"
#include "ui/archive/ArchivePrint.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

namespace nkp::archive {
class ArchiveSession;
}
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTabWidget;
namespace nkp::ui {
class ArchiveCheck;
class CraneActions;
class CraneLogView;
class DueView;
class HistoryChart;
class RemarksView;
struct HistoryLine;
template <typename Row> class TableModel;
}  // namespace nkp::ui

// "Архив кранов": one row per crane of the archive, filtered and sorted at
// will and exported as CSV; the selected crane's read-outs below, with the
// chart of its accumulated characteristic number, the trend to the forecast
// and the normative number. Every archive call runs in the window's archive
// session (ArchiveSession), so the window never waits: while a call waits on
// a lock or a server the status line says "Архив занят…".
class TForm_Archive : public QWidget {
    Q_OBJECT
public:
    // `location`: an SQLite file or a postgresql:// address.
    TForm_Archive(nkp::UserPrompts& prompts, const QString& location, const QString& startFolder,
        QWidget* parent = nullptr);
    ~TForm_Archive() override;

    void setDecimalSeparator(char separator);

    // Reads the archive again in the background: the table is filled when it
    // answers, a failure is said in the status line; reloaded() either way.
    void reload();
    // Adds files and folders in the background; importEnded() when done.
    void addPaths(const std::vector<std::string>& paths);
    void cancelImport();
    bool isImporting() const { return importCall_ != 0; }
    void exportCsv();
    void selectCrane(int viewRow);
    // Uses the archive at the address in Edit_Location from now on (stored
    // for the next start; an empty field returns to the default) and reads it.
    void applyLocation();
    const QString& location() const { return location_; }

    const std::vector<nkp::archive::CraneRow>& rows() const;

    // The crane's pages and the due list over all cranes.
    nkp::ui::CraneLogView& logView() { return *logView_; }
    nkp::ui::RemarksView& remarksView() { return *remarksView_; }
    nkp::ui::DueView& dueView() { return *dueView_; }
    // "Проверить архив" and "Доверять ключу...".
    nkp::ui::ArchiveCheck& check() { return *check_; }
    // "Настройки крана..." and "Отчёт по крану..." of the selected crane.
    void editCraneSettings();
    void printCraneReport();
    // Tests: the day due dates count from, and a preview that asks nobody.
    void setToday(const nkp::base::DateTime& today);
    void setPreview(const nkp::ui::ArchivePreview& preview);
    QSortFilterProxyModel& view() { return *proxy_; }

signals:
    // A read-out of the history was double-clicked: its data file, written
    // to a temporary file, opens in the main window.
    void readoutActivated(const QString& path);
    void importEnded();
    // The answer of reload() arrived (true: the table shows it).
    void reloaded(bool ok);

protected:
    void showEvent(QShowEvent* event) override;
    // Esc closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* Edit_Filter = nullptr;
    QLineEdit* Edit_Location = nullptr;
    QPushButton* Button_Location = nullptr;
    QTableView* Table_Cranes = nullptr;
    QTableView* Table_History = nullptr;
    nkp::ui::HistoryChart* Chart_History = nullptr;
    QCheckBox* CheckBox_Horizon = nullptr;
    QTabWidget* PageControl_Crane = nullptr;
    QPushButton* Button_Settings = nullptr;
    QPushButton* Button_Report = nullptr;
    nkp::ui::CraneLogView* logView_ = nullptr;
    nkp::ui::RemarksView* remarksView_ = nullptr;
    nkp::ui::DueView* dueView_ = nullptr;
    nkp::ui::CraneActions* craneActions_ = nullptr;
    nkp::ui::ArchiveCheck* check_ = nullptr;
    QPushButton* Button_AddFolder = nullptr;
    QPushButton* Button_AddFile = nullptr;
    QPushButton* Button_Export = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QProgressBar* ProgressBar_Import = nullptr;
    QLabel* Label_Status = nullptr;

    void showHistory(const nkp::archive::CraneRow* row);
    std::optional<std::int64_t> selectedCrane() const;
    // Asks the session for the stored data file of a history row; the file
    // arrives by `dataFileReady` and is handed on by writeReadout().
    void requestStoredReadout(int historyRow);
    void connectSession();
    void showRows(const std::vector<nkp::archive::CraneRow>& rows);
    void fitCraneColumns();
    void writeReadout(const std::vector<std::uint8_t>& bytes);
    void importFinished(const QString& summary);
private slots:
    void setStatus(const QString& text);

private:
    void callFailed(std::uint64_t call, const nkp::Failure& failure);
    // An answer came: the status line no longer says that the archive is busy.
    void answered();

    std::unique_ptr<nkp::UserPrompts> ownPrompts_;  // dialogs over this window
    nkp::UserPrompts& prompts_;
    QString location_, startFolder_;
    nkp::fileio::InputScope archiveInputs_;  // the archive's files: no export replaces them
    const nkp::archive::CraneRow* shown_ = nullptr;
    nkp::archive::CraneRow history_;  // the selected crane's, as the archive answered
    nkp::archive::ArchiveSession* session_ = nullptr;
    // The calls whose answers are awaited; an older answer is ignored.
    std::uint64_t reloadCall_ = 0, historyCall_ = 0, dataCall_ = 0, importCall_ = 0, exportCall_ = 0;
    QString importSummary_;      // shown once the archive is read again after an import
    QString statusAfterReload_;  // shown once the archive is read again after a key was trusted
    QString statusBeforeWait_;
    QString openName_;    // the file name of the read-out being opened
    QString exportPath_;  // the CSV being written
    nkp::ui::TableModel<nkp::archive::CraneRow>* model_ = nullptr;
    nkp::ui::TableModel<nkp::ui::HistoryLine>* historyModel_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    char decimalSeparator_ = ',';
    bool shownOnce_ = false;
};
