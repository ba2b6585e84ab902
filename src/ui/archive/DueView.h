#pragma once

#include "archive/DueDates.h"
#include "base/UserPrompts.h"
#include "ui/archive/ArchivePrint.h"

#include <QWidget>

#include <cstdint>
#include <vector>

namespace nkp::archive {
class ArchiveSession;
}
class QComboBox;
class QPushButton;
class QSpinBox;
class QTableView;

namespace nkp::ui {

struct TextRow;
template <typename Row> class TableModel;

// "Сроки": every crane's due items sorted by date, filtered by state and
// horizon; overdue rows red, soon ones amber; exported as CSV and printed.
class DueView : public QWidget {
    Q_OBJECT
public:
    // CSV files are proposed in `startFolder`.
    DueView(archive::ArchiveSession& session, UserPrompts& prompts, std::string startFolder,
        QWidget* parent = nullptr);

    // Asks the archive for the list again (after an import, a new log entry...).
    void refresh();
    // The day the items are due against (the clock's by default).
    void setToday(const base::DateTime& today) { today_ = today; }
    void setPreview(ArchivePreview preview) { preview_ = std::move(preview); }
    void exportCsv();
    void print();
    // The rows shown: the archive's, filtered.
    const std::vector<archive::DueRow>& shownRows() const { return shown_; }

signals:
    // A line for the window's status line.
    void status(const QString& text);

private:
    void applyFilter();

    archive::ArchiveSession& session_;
    UserPrompts& prompts_;
    QComboBox* ComboBox_DueState = nullptr;
    QSpinBox* SpinBox_Horizon = nullptr;
    QPushButton* Button_DueExport = nullptr;
    QPushButton* Button_DuePrint = nullptr;
    QTableView* Table_Due = nullptr;
    TableModel<TextRow>* model_ = nullptr;
    std::vector<archive::DueRow> rows_, shown_;
    std::optional<base::DateTime> today_;
    std::uint64_t call_ = 0, exportCall_ = 0;
    std::string startFolder_, exportPath_;
    ArchivePreview preview_;
};

}  // namespace nkp::ui
