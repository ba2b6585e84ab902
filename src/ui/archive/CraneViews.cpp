#include "ui/archive/CraneViews.h"

#include "archive/ArchiveOverview.h"
#include "archive/ArchiveSession.h"
#include "base/Clock.h"
#include "base/Codec.h"
#include "print/CraneReportLayout.h"
#include "recorder/IdentificationFile.h"
#include "ui/archive/ArchiveTables.h"
#include "ui/common/ColumnTableModel.h"
#include "ui/common/UiText.h"

#include <QDate>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSettings>
#include <QTableView>

namespace nkp::ui {

namespace {

const QString kLogCaption = QStringLiteral("Журнал крана");

base::DateTime todayOr(const std::optional<base::DateTime>& today)
{
    const base::DateTime now = today ? *today : base::systemClock().now();
    return {now.year, now.month, now.day, 0, 0, 0};
}

std::optional<int> wholeNumber(const std::string& text)
{
    bool ok = false;
    const int n = QString::fromStdString(text).toInt(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

}  // namespace

archive::LogAuthor logAuthor(const QString& startFolder)
{
    QSettings settings;
    archive::LogAuthor author {settings.value(QStringLiteral("executor/name")).toString().toStdString(),
        settings.value(QStringLiteral("executor/certificate")).toString().toStdString()};
    if (!author.name.empty() || !author.certificate.empty())
        return author;
    // The reading window keeps its last identification there.
    const auto inf
        = device::loadInf(QDir(startFolder).filePath(QStringLiteral("Inf/Default.inf")).toStdString());
    if (inf) {
        author.name = codec::cp1251ToUtf8(inf->fields[1]);
        author.certificate = codec::cp1251ToUtf8(inf->fields[2]);
    }
    return author;
}

void setLogAuthor(const archive::LogAuthor& author)
{
    QSettings settings;
    settings.setValue(QStringLiteral("executor/name"), QString::fromStdString(author.name));
    settings.setValue(QStringLiteral("executor/certificate"), QString::fromStdString(author.certificate));
}

CranePage::CranePage(archive::ArchiveSession& session, UserPrompts& prompts,
    const std::vector<std::string>& heading, const std::vector<int>& numeric, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , prompts_(prompts)
{
    model_ = new TableModel<TextRow>(textColumns(heading, numeric), ',', this);
    model_->setCellRoles([this](int r, int c, int role) -> QVariant {
        const TextRow& row = model_->row(r);
        if (role == Qt::ForegroundRole && row.mark)
            return QColor(160, 0, 0);
        // Long texts are cut in the cell and whole in its hint.
        if (role == Qt::ToolTipRole && static_cast<std::size_t>(c) < row.cells.size())
            return QString::fromStdString(row.cells[static_cast<std::size_t>(c)]);
        return {};
    });
    table_ = new QTableView(this);
    table_->setModel(model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    compactTable(*table_, *model_);
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(&session_, &archive::ArchiveSession::failed, this,
        [this](std::uint64_t call, const nkp::Failure& failure) {
            const std::string error = failure.text();
            if (answers(call))
                emit status(QStringLiteral("Архив не ответил: ") + QString::fromStdString(error));
        });
}

void CranePage::showCrane(std::optional<std::int64_t> craneId)
{
    crane_ = craneId;
    call_ = 0;
    model_->setRows({});
    if (craneId)
        request(*craneId);
}

bool CranePage::answers(std::uint64_t call)
{
    if (call == 0 || call != call_)
        return false;
    call_ = 0;
    return true;
}

void CranePage::showCells(const std::vector<std::vector<std::string>>& cells, const std::vector<int>& red)
{
    std::vector<TextRow> rows = textRows(cells);
    for (const int r : red)
        if (r > 0 && r <= static_cast<int>(rows.size()))
            rows[static_cast<std::size_t>(r - 1)].mark = 1;
    model_->setRows(std::move(rows));
    table_->resizeColumnsToContents();
}

CraneLogView::CraneLogView(
    archive::ArchiveSession& session, UserPrompts& prompts, QString startFolder, QWidget* parent)
    : CranePage(session, prompts, archive::logTableCells({}).front(), {0}, parent)
    , startFolder_(std::move(startFolder))
{
    setObjectName(QStringLiteral("TabSheet_Log"));
    table_->setObjectName(QStringLiteral("Table_Log"));
    Button_AddEntry = new QPushButton(QStringLiteral("Добавить запись..."), this);
    Button_AddEntry->setObjectName(QStringLiteral("Button_AddEntry"));
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    bar->addWidget(Button_AddEntry);
    layOutPage(this, bar, table_);
    connect(Button_AddEntry, &QPushButton::clicked, this, &CraneLogView::addEntry);
    connect(&session_, &archive::ArchiveSession::logReady, this,
        [this](std::uint64_t call, std::int64_t, const std::vector<archive::LogEntry>& entries) {
            if (!answers(call))
                return;
            entries_ = entries;
            // Corrected entries no longer count: they stand in red.
            std::vector<int> corrected;
            for (std::size_t i = 0; i < entries_.size(); ++i)
                if (!entries_[i].counts())
                    corrected.push_back(static_cast<int>(i + 1));
            showCells(archive::logTableCells(entries_), corrected);
            // The newest entries are the ones a user looks for.
            table_->scrollToBottom();
        });
    connect(&session_, &archive::ArchiveSession::logEntryAdded, this,
        [this](std::uint64_t call, const archive::LogEntry& entry) {
            if (call != addCall_)
                return;
            addCall_ = 0;
            emit status(QStringLiteral("Запись №%1 добавлена в журнал").arg(entry.number));
            if (crane_ && *crane_ == entry.craneId)
                request(*crane_);
            emit entryAdded();
        });
    connect(&session_, &archive::ArchiveSession::failed, this,
        [this](std::uint64_t call, const nkp::Failure& failure) {
            const std::string error = failure.text();
            if (call != 0 && call == addCall_) {
                addCall_ = 0;
                prompts_.error(kLogCaption.toStdString(), "Запись не добавлена: " + error);
            }
        });
}

void CraneLogView::request(std::int64_t craneId)
{
    call_ = session_.log(craneId);
}

void CraneLogView::addEntry()
{
    if (!crane_ || addCall_)
        return;
    using Field = UserPrompts::FormField;
    archive::LogAuthor author = logAuthor(startFolder_);
    std::vector<std::string> kinds;
    for (const archive::LogKind k : archive::manualLogKinds())
        kinds.emplace_back(archive::logKindText(k));
    const int newest = entries_.empty() ? 0 : entries_.back().number;
    const std::vector<Field> fields {
        {"Дата", Field::Kind::Date, base::dateText(todayOr(today_)), {}, 0, 0, {}},
        {"Вид", Field::Kind::Choice, kinds.front(), kinds, 0, 0, {}},
        {"Текст", Field::Kind::Text, {}, {}, 0, 0, {}},
        {"Исполнитель", Field::Kind::Line, author.name, {}, 0, 0, {}},
        {"Удост. №", Field::Kind::Line, author.certificate, {}, 0, 0, {}},
        {"Исправляет запись №", Field::Kind::Number, {}, {}, 0, newest, "нет"},
    };
    const auto answer = prompts_.form("Добавить запись", fields);
    if (!answer || answer->size() != fields.size())
        return;
    const std::vector<std::string>& a = *answer;
    archive::NewLogEntry entry;
    entry.craneId = *crane_;
    const QDate date = QDate::fromString(QString::fromStdString(a[0]), QStringLiteral("dd.MM.yyyy"));
    entry.date = {date.year(), date.month(), date.day(), 0, 0, 0};
    for (const archive::LogKind k : archive::manualLogKinds())
        if (archive::logKindText(k) == a[1])
            entry.kind = k;
    entry.text = QString::fromStdString(a[2]).trimmed().toStdString();
    entry.author = {QString::fromStdString(a[3]).trimmed().toStdString(),
        QString::fromStdString(a[4]).trimmed().toStdString()};
    entry.corrects = wholeNumber(a[5]);
    std::string problem = entry.text.empty() ? std::string("Текст записи пуст.")
        : !date.isValid()                    ? std::string("Дата записи не распознана.")
                                             : archive::logEntryProblem(entry, entries_);
    if (!problem.empty()) {
        prompts_.error(kLogCaption.toStdString(), problem);
        return;
    }
    setLogAuthor(entry.author);
    addCall_ = session_.addLogEntry(entry);
}

RemarksView::RemarksView(archive::ArchiveSession& session, UserPrompts& prompts, QWidget* parent)
    : CranePage(session, prompts, archive::remarkTableCells({}).front(), {}, parent)
{
    setObjectName(QStringLiteral("TabSheet_Remarks"));
    table_->setObjectName(QStringLiteral("Table_Remarks"));
    // The remark before the long SHA-256.
    table_->horizontalHeader()->moveSection(4, 3);
    layOutPage(this, nullptr, table_);
    connect(&session_, &archive::ArchiveSession::remarksReady, this,
        [this](std::uint64_t call, const std::vector<archive::CraneRemark>& remarks) {
            if (answers(call))
                showCells(archive::remarkTableCells(remarks));
        });
}

void RemarksView::request(std::int64_t craneId)
{
    call_ = session_.remarks(craneId);
}

CraneActions::CraneActions(
    archive::ArchiveSession& session, UserPrompts& prompts, QWidget* window, char decimalSeparator)
    : QObject(window)
    , session_(session)
    , prompts_(prompts)
    , window_(window)
    , separator_(decimalSeparator)
{
    connect(&session_, &archive::ArchiveSession::craneSettingsReady, this,
        [this](std::uint64_t call, std::int64_t craneId, const archive::CraneSettings& s) {
            if (call != settingsCall_)
                return;
            settingsCall_ = 0;
            using Field = UserPrompts::FormField;
            const std::vector<Field> fields {
                {"Считывание, мес.", Field::Kind::Number, std::to_string(s.readingMonths), {}, 1, 240, {}},
                {"Частичное освидетельствование, мес.", Field::Kind::Number, std::to_string(s.partialMonths),
                    {}, 1, 240, {}},
                {"Полное освидетельствование, мес.", Field::Kind::Number, std::to_string(s.fullMonths), {}, 1,
                    240, {}},
                {"Нормативный срок службы, лет", Field::Kind::Number,
                    s.serviceLifeYears ? std::to_string(*s.serviceLifeYears) : std::string(), {}, 0, 100,
                    "не задан"},
            };
            const auto answer = prompts_.form("Настройки крана", fields);
            if (!answer || answer->size() != fields.size())
                return;
            archive::CraneSettings changed = s;
            changed.readingMonths = wholeNumber((*answer)[0]).value_or(s.readingMonths);
            changed.partialMonths = wholeNumber((*answer)[1]).value_or(s.partialMonths);
            changed.fullMonths = wholeNumber((*answer)[2]).value_or(s.fullMonths);
            changed.serviceLifeYears = wholeNumber((*answer)[3]);
            if (changed != s)
                saveCall_ = session_.setCraneSettings(craneId, changed);
        });
    connect(&session_, &archive::ArchiveSession::craneSettingsSaved, this,
        [this](std::uint64_t call, std::int64_t) {
            if (call != saveCall_)
                return;
            saveCall_ = 0;
            emit status(QStringLiteral("Настройки крана сохранены"));
            emit settingsSaved();
        });
    connect(&session_, &archive::ArchiveSession::craneReportReady, this,
        [this](std::uint64_t call, const archive::CraneReport& report) {
            if (call != reportCall_)
                return;
            reportCall_ = 0;
            const analysis::CraneReportContent content = archive::craneReportContent(report, separator_);
            const QString title = QString::fromStdString(content.title);
            const ArchiveRender render
                = [content](QPagedPaintDevice& device) { return print::printCraneReport(device, content); };
            if (preview_)
                preview_(title, render);
            else
                showArchivePreview(window_, prompts_, title, render);
        });
    connect(&session_, &archive::ArchiveSession::failed, this,
        [this](std::uint64_t call, const nkp::Failure& failure) {
            const std::string error = failure.text();
            const QString cause = QString::fromStdString(error);
            if (call == 0)
                return;
            if (call == settingsCall_ || call == saveCall_) {
                settingsCall_ = saveCall_ = 0;
                prompts_.error("Настройки крана",
                    (QStringLiteral("Настройки крана не удалось прочитать или сохранить: ") + cause)
                        .toStdString());
            } else if (call == reportCall_) {
                reportCall_ = 0;
                prompts_.error("Отчёт по крану",
                    (QStringLiteral("Отчёт по крану не удалось составить: ") + cause).toStdString());
            }
        });
}

void CraneActions::editSettings(std::int64_t craneId)
{
    settingsCall_ = session_.craneSettings(craneId);
}

void CraneActions::printReport(std::int64_t craneId)
{
    reportCall_ = session_.craneReport(craneId, todayOr(today_));
}

}  // namespace nkp::ui
