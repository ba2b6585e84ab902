#pragma once

#include "archive/CraneLog.h"
#include "base/DateTime.h"
#include "base/UserPrompts.h"
#include "ui/archive/ArchivePrint.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

namespace nkp::archive {
class ArchiveSession;
}
class QPushButton;
class QTableView;

namespace nkp::ui {

struct TextRow;
template <typename Row> class TableModel;

// The author of new log entries ("Исполнитель"): the program's settings,
// first filled from the reading window's last identification
// (Inf/Default.inf below `startFolder`: "Информацию считал", "Удост. №").
archive::LogAuthor logAuthor(const QString& startFolder);
void setLogAuthor(const archive::LogAuthor& author);

// What the pages of one crane share: the session, the prompts and the crane shown.
class CranePage : public QWidget {
    Q_OBJECT
public:
    // The table's heading (UTF-8) and its numeric columns.
    CranePage(archive::ArchiveSession& session, UserPrompts& prompts, const std::vector<std::string>& heading,
        const std::vector<int>& numeric, QWidget* parent);
    // The crane shown, or none; asks the archive for its rows.
    void showCrane(std::optional<std::int64_t> craneId);
    std::optional<std::int64_t> crane() const { return crane_; }
    const TableModel<TextRow>& model() const { return *model_; }

signals:
    void status(const QString& text);

protected:
    virtual void request(std::int64_t craneId) = 0;
    void showCells(const std::vector<std::vector<std::string>>& cells, const std::vector<int>& red = {});
    bool answers(std::uint64_t call);

    archive::ArchiveSession& session_;
    UserPrompts& prompts_;
    QTableView* table_ = nullptr;
    TableModel<TextRow>* model_ = nullptr;
    std::optional<std::int64_t> crane_;
    std::uint64_t call_ = 0;
};

// "Журнал" of the crane shown, with "Добавить запись...".
class CraneLogView : public CranePage {
    Q_OBJECT
public:
    CraneLogView(
        archive::ArchiveSession& session, UserPrompts& prompts, QString startFolder, QWidget* parent);
    // Asks for an entry in a form and adds it.
    void addEntry();
    void setToday(const base::DateTime& today) { today_ = today; }
    const std::vector<archive::LogEntry>& entries() const { return entries_; }

signals:
    void entryAdded();

protected:
    void request(std::int64_t craneId) override;

private:
    QPushButton* Button_AddEntry = nullptr;
    QString startFolder_;
    std::vector<archive::LogEntry> entries_;
    std::optional<base::DateTime> today_;
    std::uint64_t addCall_ = 0;
};

// "Замечания" on the crane's read-outs.
class RemarksView : public CranePage {
    Q_OBJECT
public:
    RemarksView(archive::ArchiveSession& session, UserPrompts& prompts, QWidget* parent);

protected:
    void request(std::int64_t craneId) override;
};

// "Настройки крана..." and "Отчёт по крану...": each asks the archive, then
// the user, then (settings) the archive again.
class CraneActions : public QObject {
    Q_OBJECT
public:
    CraneActions(
        archive::ArchiveSession& session, UserPrompts& prompts, QWidget* window, char decimalSeparator);
    void editSettings(std::int64_t craneId);
    void printReport(std::int64_t craneId);
    void setToday(const base::DateTime& today) { today_ = today; }
    void setDecimalSeparator(char separator) { separator_ = separator; }
    void setPreview(ArchivePreview preview) { preview_ = std::move(preview); }

signals:
    void status(const QString& text);
    void settingsSaved();

private:
    archive::ArchiveSession& session_;
    UserPrompts& prompts_;
    QWidget* window_;
    char separator_;
    std::optional<base::DateTime> today_;
    ArchivePreview preview_;
    std::uint64_t settingsCall_ = 0, saveCall_ = 0, reportCall_ = 0;
};

}  // namespace nkp::ui
