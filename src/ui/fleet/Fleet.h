#pragma once

#include "base/InputFiles.h"
#include "base/UserPrompts.h"
#include "fleet/FleetScan.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace nkp::ui {
class FleetTableModel;
}

// "Обзор парка": one row per read-out found below a folder, filtered and
// sorted at will, exported as CSV. The folder is scanned in a thread pool;
// the window stays responsive and the scan can be cancelled. The first
// showing scans the default folder; scan() does it at any time.
class TForm_Fleet : public QWidget {
    Q_OBJECT
public:
    TForm_Fleet(nkp::UserPrompts& prompts, const QString& defaultFolder, QWidget* parent = nullptr);
    ~TForm_Fleet() override;

    // Numbers (the resource share) are written with this separator; ',' by default.
    void setDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    void setThreadCount(int count) { scan_.setThreadCount(count); }

    // Scans the folder of the folder line again.
    void scan();
    void cancelScan();
    // From scan() until scanEnded().
    bool isScanning() const { return scanning_; }
    // Writes the rows as shown (filtered, in their order) to a CSV file chosen by the user.
    void exportCsv();
    // Hands the loaded read-outs of the rows shown (filtered, in their order)
    // to the archive: addToArchive() with their paths.
    void addShownToArchive();

    const nkp::ui::FleetTableModel& model() const { return *model_; }
    QSortFilterProxyModel& view() { return *proxy_; }
    nkp::fleet::FleetScan& scanner() { return scan_; }

signals:
    // A loaded read-out's row was double-clicked; `path` opens it.
    void readoutActivated(const QString& path);
    // The scan ended (finished, cancelled or failed).
    void scanEnded();
    // "Добавить в архив": the files to import (the archive window imports
    // them in the background with its progress).
    void addToArchive(const std::vector<std::string>& paths);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* Edit_Folder = nullptr;
    QPushButton* Button_Folder = nullptr;
    QPushButton* Button_Refresh = nullptr;
    QProgressBar* ProgressBar_Scan = nullptr;
    QPushButton* Button_Cancel = nullptr;
    QLineEdit* Edit_Filter = nullptr;
    QTableView* Table_Fleet = nullptr;
    QPushButton* Button_Export = nullptr;
    QPushButton* Button_AddToArchive = nullptr;
    QLabel* Label_Status = nullptr;

    void chooseFolder();
    void scanning(bool running);
    void showRows(bool complete);
    void showCount();
    void activate(const QModelIndex& index);

    nkp::UserPrompts& prompts_;
    nkp::fleet::FleetScan scan_;
    nkp::fileio::InputScope shownInputs_;  // the read-outs in the table
    nkp::ui::FleetTableModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    char decimalSeparator_ = ',';
    bool shownOnce_ = false;
    bool scanning_ = false;
    int listedCount_ = 0;
};
