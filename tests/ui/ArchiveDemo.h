#pragma once

// The demo archive of the window tests and the guide's pictures, as run.sh
// makes it: one crane's read-outs over the years (its limiter replaced on the
// way) and a second crane, imported through the archive window; the first
// crane's log holds examinations and a repair, its partial examination falls
// due soon and its reading is overdue.
#include "Controls.h"
#include "MainWindowFixture.h"

#include "base/CalendarMonths.h"
#include "generator/HistoryGenerator.h"
#include "ui/archive/Archive.h"
#include "ui/archive/CraneViews.h"
#include "ui/archive/DueView.h"
#include "ui/common/ColumnTableModel.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <algorithm>

namespace nkp::test {

// One crane's read-outs 0001.nkp... in `folder`.
inline void writeHistory(const QString& folder, std::uint64_t seed, int count, int replaceAt)
{
    generator::HistoryOptions options;
    options.seed = seed;
    options.count = count;
    options.replaceLimiterAt = replaceAt;
    QDir().mkpath(folder);
    for (const auto& r : generator::generateHistory(options))
        MainWindowFixture::writeFile(QDir(folder).filePath(QString::fromStdString(r.fileName)), r.bytes);
}

// Imports the demo below `folder` into the shown window `w` (over `prompts`),
// selects the crane with 16 read-outs and fills its log and settings; the
// window's today lies 13 months after that crane's newest reading. False
// when a step did not answer.
inline bool fillDemoArchive(TForm_Archive& w, ScriptedUserPrompts& prompts, const QString& folder)
{
    writeHistory(QDir(folder).filePath(QStringLiteral("История")), 7, 16, 10);
    writeHistory(QDir(folder).filePath(QStringLiteral("Парк")), 8, 5, 0);
    QSignalSpy ended(&w, &TForm_Archive::importEnded);
    w.addPaths({QFile::encodeName(folder).toStdString()});
    if (!ended.wait(60000))
        return false;
    const auto& rows = w.rows();
    const auto crane
        = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r.readouts.size() == 16; });
    if (crane == rows.end() || !crane->readouts.back().readingMoment)
        return false;
    const base::DateTime newest = *crane->readouts.back().readingMoment;
    const base::DateTime today = base::addMonths({newest.year, newest.month, newest.day, 0, 0, 0}, 13);
    w.setToday(today);
    const QModelIndex row
        = w.view().mapFromSource(w.view().sourceModel()->index(int(crane - rows.begin()), 0));
    control<QTableView>(w, "Table_Cranes")->setCurrentIndex(row);
    if (!QTest::qWaitFor([&w] { return w.logView().model().rowCount() >= 16; }, 10000))
        return false;

    const auto day = [&today](int months, int days) {
        return base::dateText(base::dateOfDay(base::daysSinceEpoch(base::addMonths(today, months)) + days));
    };
    const std::vector<std::vector<std::string>> entries {
        {day(-24, 0), "Полное техническое освидетельствование",
            "Полное техническое освидетельствование, замечаний нет", "Иванов И.И.", "У-12", ""},
        {day(-11, -20), "Частичное техническое освидетельствование",
            "Частичное техническое освидетельствование", "Иванов И.И.", "У-12", ""},
        {day(-6, 0), "Ремонт", "Заменён канат грузовой лебёдки", "Иванов И.И.", "У-12", ""},
    };
    for (const auto& entry : entries) {
        const int before = w.logView().model().rowCount();
        prompts.formAnswers.push_back(entry);
        control<QPushButton>(w, "Button_AddEntry")->click();
        if (!QTest::qWaitFor([&w, before] { return w.logView().model().rowCount() == before + 1; }, 10000))
            return false;
    }
    prompts.formAnswers.push_back({"12", "12", "36", "25"});
    control<QPushButton>(w, "Button_Settings")->click();
    auto* status = control<QLabel>(w, "Label_Status");
    return QTest::qWaitFor(
               [status] { return status->text() == QStringLiteral("Настройки крана сохранены"); }, 10000)
        && QTest::qWaitFor([&w] { return !w.dueView().shownRows().empty(); }, 10000);
}

}  // namespace nkp::test
