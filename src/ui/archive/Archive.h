#pragma once

#include "archive/CraneTable.h"
#include "base/InputFiles.h"
#include "base/UserPrompts.h"

#include <QFutureWatcher>
#include <QWidget>

#include <atomic>
#include <memory>
#include <vector>

class QCustomPlot;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QTableWidget;

// "Архив кранов": one row per crane of the archive, filtered and sorted at
// will and exported as CSV; the selected crane's read-outs below, with the
// chart of its accumulated characteristic number, the trend to the forecast
// and the normative number. Files and folders are added in the background.
class TForm_Archive : public QWidget {
    Q_OBJECT
public:
    // `location`: an SQLite file or a postgresql:// address.
    TForm_Archive(nkp::UserPrompts& prompts, const QString& location, const QString& startFolder,
        QWidget* parent = nullptr);
    ~TForm_Archive() override;

    void setDecimalSeparator(char separator) { decimalSeparator_ = separator; }

    // Reads the archive again; false (said in the status line) when it cannot be opened.
    bool reload();
    // Adds files and folders in the background; importEnded() when done.
    void addPaths(const std::vector<std::string>& paths);
    void cancelImport();
    bool isImporting() const { return watcher_.isRunning(); }
    void exportCsv();
    void selectCrane(int viewRow);
    // Uses the archive at the address in Edit_Location from now on (stored
    // for the next start; an empty field returns to the default) and reads it.
    void applyLocation();
    const QString& location() const { return location_; }

    const std::vector<nkp::archive::CraneRow>& rows() const { return rows_; }
    QSortFilterProxyModel& view() { return *proxy_; }

signals:
    // A read-out of the history was double-clicked: its data file, written
    // to a temporary file, opens in the main window.
    void readoutActivated(const QString& path);
    void importEnded();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* Edit_Filter = nullptr;
    QLineEdit* Edit_Location = nullptr;
    QPushButton* Button_Location = nullptr;
    QTableView* Table_Cranes = nullptr;
    QTableWidget* Table_History = nullptr;
    QCustomPlot* Chart_History = nullptr;
    QPushButton* Button_AddFolder = nullptr;
    QPushButton* Button_AddFile = nullptr;
    QPushButton* Button_Export = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QProgressBar* ProgressBar_Import = nullptr;
    QLabel* Label_Status = nullptr;

    void showHistory(const nkp::archive::CraneRow* row);
    void openReadout(int historyRow);
    void importFinished();

    nkp::UserPrompts& prompts_;
    QString location_, startFolder_;
    nkp::fileio::InputScope archiveInputs_;  // the archive's files: no export replaces them
    std::vector<nkp::archive::CraneRow> rows_;
    const nkp::archive::CraneRow* shown_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    QFutureWatcher<QString> watcher_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    char decimalSeparator_ = ',';
    bool shownOnce_ = false;
};
