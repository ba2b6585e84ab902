#include "ui/archive/Archive.h"

#include "archive/ArchiveAddress.h"
#include "archive/ArchiveImport.h"
#include "archive/ArchiveSession.h"
#include "ui/archive/ArchiveCheck.h"
#include "ui/archive/ArchiveMenu.h"
#include "ui/archive/ArchiveTables.h"
#include "ui/archive/CraneViews.h"
#include "ui/archive/DueView.h"
#include "ui/archive/HistoryChart.h"
#include "ui/common/ColumnTableModel.h"
#include "ui/common/ControlNames.h"
#include "ui/common/QtUserPrompts.h"
#include "ui/common/ResourceColor.h"
#include "ui/common/ScreenFit.h"
#include "ui/common/UiText.h"
#include "ui/common/WriteFailure.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <numeric>

namespace {

using namespace nkp::archive;

const QString kCaption = QStringLiteral("Архив кранов");
const QString kBusy = QStringLiteral("Архив занят…");
QString utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

TForm_Archive::TForm_Archive(
    nkp::UserPrompts& prompts, const QString& location, const QString& startFolder, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ownPrompts_(nkp::ui::promptsFor(prompts, this))
    , prompts_(ownPrompts_ ? *ownPrompts_ : prompts)
    , location_(location)
    , startFolder_(startFolder)
{
    setObjectName(QStringLiteral("Form_Archive"));
    archiveInputs_ = nkp::fileio::InputScope(archiveFiles(location_.toStdString()));
    setWindowTitle(kCaption);
    session_ = new ArchiveSession(location_.toStdString(), this);

    Edit_Location = new QLineEdit(location_, this);
    Edit_Location->setToolTip(QStringLiteral(
        "Файл SQLite или адрес postgresql://пользователь@сервер:порт/база; пусто - архив в папке программы"));
    Button_Location = new QPushButton(QStringLiteral("Открыть архив"), this);
    if (nkp::ui::archiveLocationFromEnvironment()) {
        // NKP_ARCHIVE decides; the field only shows it.
        Edit_Location->setReadOnly(true);
        Button_Location->setEnabled(false);
        Edit_Location->setToolTip(QStringLiteral("Адрес задан переменной окружения NKP_ARCHIVE"));
    }
    Edit_Filter = new QLineEdit(this);
    Edit_Filter->setPlaceholderText(QStringLiteral("Фильтр"));
    Button_AddFolder = new QPushButton(QStringLiteral("Добавить в архив..."), this);
    Button_AddFile = new QPushButton(QStringLiteral("Добавить файл..."), this);
    Button_Export = new QPushButton(QStringLiteral("Экспорт в CSV..."), this);
    Button_Cancel = new QPushButton(QStringLiteral("Отмена"), this);
    ProgressBar_Import = new QProgressBar(this);
    Label_Status = new QLabel(this);
    Label_Status->setTextFormat(Qt::PlainText);  // names of files and cranes
    // A long message wraps, and a long word is cut, rather than widen the window.
    Label_Status->setWordWrap(true);
    Label_Status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    model_ = new nkp::ui::TableModel<CraneRow>(nkp::ui::craneColumns(), decimalSeparator_, this);
    model_->setCellRoles([this](int r, int column, int role) -> QVariant {
        // The resource share is marked as in the main window.
        if (role != Qt::BackgroundRole || column != static_cast<int>(CraneColumn::ResourcePercent))
            return {};
        const QColor colour = nkp::ui::resourceColor(model_->row(r).trend.used.level);
        return colour.isValid() ? QVariant(colour) : QVariant();
    });
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(nkp::ui::ColumnTableModel::kSortRole);
    proxy_->setSortLocaleAware(true);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy_->setFilterKeyColumn(-1);
    Table_Cranes = new QTableView(this);
    Table_Cranes->setModel(proxy_);
    Table_Cranes->setSortingEnabled(true);
    Table_Cranes->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table_Cranes->setSelectionMode(QAbstractItemView::SingleSelection);
    Table_Cranes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_Cranes->verticalHeader()->hide();
    nkp::ui::compactTable(*Table_Cranes, *model_);
    Table_Cranes->horizontalHeader()->setSectionsMovable(true);
    // The columns a user needs most come right after the crane's name.
    for (int i = 0; const int column : nkp::ui::importantCraneColumns())
        Table_Cranes->horizontalHeader()->moveSection(
            Table_Cranes->horizontalHeader()->visualIndex(column), 2 + i++);

    historyModel_
        = new nkp::ui::TableModel<nkp::ui::HistoryLine>(nkp::ui::historyColumns(), decimalSeparator_, this);
    Table_History = new QTableView(this);
    Table_History->setModel(historyModel_);
    Table_History->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_History->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table_History->verticalHeader()->hide();
    nkp::ui::compactTable(*Table_History, *historyModel_);
    // Every heading whole, whatever the cells.
    Table_History->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    Chart_History = new nkp::ui::HistoryChart(this);
    Chart_History->setMinimumHeight(150);
    CheckBox_Horizon = new QCheckBox(QStringLiteral("Весь горизонт прогноза"), this);
    CheckBox_Horizon->setToolTip(QStringLiteral("Ось времени до даты прогноза, а не только по чтениям"));

    nkp::ui::nameControls({{Edit_Location, "Edit_Location"}, {Button_Location, "Button_Location"},
        {Edit_Filter, "Edit_Filter"}, {Button_AddFolder, "Button_AddFolder"},
        {Button_AddFile, "Button_AddFile"}, {Button_Export, "Button_Export"},
        {Button_Cancel, "Button_Cancel"}, {ProgressBar_Import, "ProgressBar_Import"},
        {Label_Status, "Label_Status"}, {Table_Cranes, "Table_Cranes"}, {Table_History, "Table_History"},
        {Chart_History, "Chart_History"}, {CheckBox_Horizon, "CheckBox_Horizon"}});

    auto* top = new QHBoxLayout;
    top->addWidget(Edit_Filter, 1);
    top->addWidget(Button_AddFolder);
    top->addWidget(Button_AddFile);
    top->addWidget(Button_Export);
    check_ = new nkp::ui::ArchiveCheck(
        *session_, prompts_, startFolder_, *ProgressBar_Import, *Button_Cancel, this);
    top->addWidget(&check_->verifyButton());
    top->addWidget(&check_->trustButton());
    connect(check_, &nkp::ui::ArchiveCheck::status, this, &TForm_Archive::setStatus);
    connect(check_, &nkp::ui::ArchiveCheck::keyTrusted, this, [this](const QString& text) {
        statusAfterReload_ = text;
        reload();
    });
    auto* chartPanel = new QWidget(this);
    auto* chartLayout = new QVBoxLayout(chartPanel);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(Chart_History, 1);
    chartLayout->addWidget(CheckBox_Horizon);
    auto* history = new QSplitter(Qt::Horizontal, this);
    history->addWidget(Table_History);
    history->addWidget(chartPanel);
    PageControl_Crane = new QTabWidget(this);
    PageControl_Crane->setObjectName(QStringLiteral("PageControl_Crane"));
    PageControl_Crane->addTab(history, QStringLiteral("История"));
    logView_ = new nkp::ui::CraneLogView(*session_, prompts_, startFolder_, this);
    remarksView_ = new nkp::ui::RemarksView(*session_, prompts_, this);
    dueView_ = new nkp::ui::DueView(*session_, prompts_, startFolder_.toStdString(), this);
    PageControl_Crane->addTab(logView_, QStringLiteral("Журнал"));
    PageControl_Crane->addTab(remarksView_, QStringLiteral("Замечания"));
    PageControl_Crane->addTab(dueView_, QStringLiteral("Сроки"));
    craneActions_ = new nkp::ui::CraneActions(*session_, prompts_, this, decimalSeparator_);
    Button_Settings = new QPushButton(QStringLiteral("Настройки крана..."), this);
    Button_Report = new QPushButton(QStringLiteral("Отчёт по крану..."), this);
    nkp::ui::nameControls({{Button_Settings, "Button_Settings"}, {Button_Report, "Button_Report"}});
    auto* corner = new QWidget(this);
    auto* cornerLayout = new QHBoxLayout(corner);
    cornerLayout->setContentsMargins(0, 0, 0, 2);
    cornerLayout->addWidget(Button_Settings);
    cornerLayout->addWidget(Button_Report);
    PageControl_Crane->setCornerWidget(corner);
    for (QObject* source : std::initializer_list<QObject*> {logView_, remarksView_, dueView_, craneActions_})
        connect(source, SIGNAL(status(QString)), this, SLOT(setStatus(QString)));
    connect(logView_, &nkp::ui::CraneLogView::entryAdded, dueView_, &nkp::ui::DueView::refresh);
    connect(craneActions_, &nkp::ui::CraneActions::settingsSaved, dueView_, &nkp::ui::DueView::refresh);
    connect(Button_Settings, &QPushButton::clicked, this, &TForm_Archive::editCraneSettings);
    connect(Button_Report, &QPushButton::clicked, this, &TForm_Archive::printCraneReport);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Table_Cranes);
    split->addWidget(PageControl_Crane);
    split->setChildrenCollapsible(false);
    // The chart needs room for its dates; the crane list for a few rows.
    history->setSizes({620, 480});
    split->setSizes({220, 500});
    auto* status = new QHBoxLayout;
    status->addWidget(Label_Status, 1);
    status->addWidget(ProgressBar_Import);
    status->addWidget(Button_Cancel);
    auto* where = new QHBoxLayout;
    where->addWidget(new QLabel(QStringLiteral("Архив:"), this));
    where->addWidget(Edit_Location, 1);
    where->addWidget(Button_Location);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(where);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addLayout(status);
    ProgressBar_Import->hide();
    Button_Cancel->hide();

    connect(Edit_Filter, &QLineEdit::textChanged, proxy_, &QSortFilterProxyModel::setFilterFixedString);
    connect(Table_Cranes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) { selectCrane(current.row()); });
    connect(Table_History, &QTableView::doubleClicked, this,
        [this](const QModelIndex& index) { requestStoredReadout(index.row()); });
    connect(Button_Export, &QPushButton::clicked, this, &TForm_Archive::exportCsv);
    connect(Button_Location, &QPushButton::clicked, this, &TForm_Archive::applyLocation);
    connect(Edit_Location, &QLineEdit::returnPressed, this, &TForm_Archive::applyLocation);
    connect(Button_Cancel, &QPushButton::clicked, this, &TForm_Archive::cancelImport);
    connect(Button_AddFolder, &QPushButton::clicked, this, [this] {
        const auto folder = prompts_.chooseFolder("Добавить в архив", startFolder_.toStdString());
        if (folder)
            addPaths({*folder});
    });
    connect(Button_AddFile, &QPushButton::clicked, this, [this] {
        nkp::UserPrompts::FileDialog dialog;
        dialog.title = "Добавить в архив";
        dialog.filter = "Файлы НКП|*.nkp|Все файлы (*.*)|*.*";
        dialog.initialDir = startFolder_.toStdString();
        if (const auto file = prompts_.openFile(dialog))
            addPaths({*file});
    });
    connect(CheckBox_Horizon, &QCheckBox::toggled, Chart_History, &nkp::ui::HistoryChart::setWholeHorizon);
    connectSession();
    // The window opens on its cranes, not in the address field.
    Table_Cranes->setFocus();
    nkp::ui::fitToScreen(this, QSize(1100, 760));
}

// The session goes with the window and leaves a call that still waits to
// end on its own.
TForm_Archive::~TForm_Archive() = default;

void TForm_Archive::connectSession()
{
    connect(session_, &ArchiveSession::stillWaiting, this, [this] {
        if (Label_Status->text() != kBusy)
            statusBeforeWait_ = Label_Status->text();
        setStatus(kBusy);
    });
    connect(session_, &ArchiveSession::failed, this, &TForm_Archive::callFailed);
    connect(session_, &ArchiveSession::reloaded, this, [this](std::uint64_t call, const auto& rows) {
        if (call != reloadCall_)
            return;
        answered();
        reloadCall_ = 0;
        showRows(rows);
        dueView_->refresh();
        if (!statusAfterReload_.isNull())
            setStatus(std::exchange(statusAfterReload_, QString()));
        if (!importSummary_.isNull()) {
            setStatus(importSummary_);
            importSummary_ = QString();
            emit importEnded();
        }
        emit reloaded(true);
    });
    connect(session_, &ArchiveSession::historyReady, this, [this](std::uint64_t call, const CraneRow& row) {
        if (call != historyCall_)
            return;
        answered();
        historyCall_ = 0;
        history_ = row;
        showHistory(&history_);
    });
    connect(session_, &ArchiveSession::dataFileReady, this,
        [this](std::uint64_t call, const std::vector<std::uint8_t>& bytes) {
            if (call != dataCall_)
                return;
            answered();
            dataCall_ = 0;
            writeReadout(bytes);
        });
    connect(session_, &ArchiveSession::importProgress, this, [this](int done, int total) {
        ProgressBar_Import->setRange(0, total);
        ProgressBar_Import->setValue(done);
    });
    connect(
        session_, &ArchiveSession::imported, this, [this](std::uint64_t call, const ImportReport& report) {
            if (call != importCall_)
                return;
            answered();
            QString text = QStringLiteral("Добавлено: %1, уже в архиве: %2, не прочитано: %3")
                               .arg(report.added)
                               .arg(report.alreadyThere)
                               .arg(report.unreadable);
            if (report.otherCrane > 0)
                text += QStringLiteral(", под другой идентификацией: %1").arg(report.otherCrane);
            for (const auto* problems : {&report.sameImages, &report.problems})
                for (const nkp::Failure& p : *problems)
                    text += QStringLiteral("; ") + QString::fromStdString(p.path) + QStringLiteral(": ")
                        + QString::fromStdString(p.reason);
            if (report.cancelled)
                text += QStringLiteral(" (прервано)");
            if (report.writeFailure)
                text += QStringLiteral(". Архив не удалось записать: ")
                    + QString::fromStdString(report.writeFailure->text());
            importFinished(text);
        });
    connect(session_, &ArchiveSession::exported, this, [this](std::uint64_t call) {
        if (call == exportCall_) {
            answered();
            exportCall_ = 0;
            setStatus(QStringLiteral("Таблица кранов записана в файл: ") + exportPath_);
        }
    });
}

void TForm_Archive::setDecimalSeparator(char separator)
{
    decimalSeparator_ = separator;
    model_->setDecimalSeparator(separator);
    craneActions_->setDecimalSeparator(separator);
    historyModel_->setDecimalSeparator(separator);
}

const std::vector<CraneRow>& TForm_Archive::rows() const
{
    return model_->rows();
}

std::optional<std::int64_t> TForm_Archive::selectedCrane() const
{
    return shown_ ? std::optional(shown_->craneId) : std::nullopt;
}

void TForm_Archive::editCraneSettings()
{
    if (const auto crane = selectedCrane())
        craneActions_->editSettings(*crane);
}

void TForm_Archive::printCraneReport()
{
    if (const auto crane = selectedCrane())
        craneActions_->printReport(*crane);
}

void TForm_Archive::setToday(const nkp::base::DateTime& today)
{
    logView_->setToday(today);
    dueView_->setToday(today);
    craneActions_->setToday(today);
}

void TForm_Archive::setPreview(const nkp::ui::ArchivePreview& preview)
{
    dueView_->setPreview(preview);
    craneActions_->setPreview(preview);
}

void TForm_Archive::setStatus(const QString& text)
{
    Label_Status->setText(text);
    Label_Status->setToolTip(text);
}

void TForm_Archive::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm_Archive::answered()
{
    if (Label_Status->text() == kBusy)
        setStatus(statusBeforeWait_);
}

void TForm_Archive::callFailed(std::uint64_t call, const nkp::Failure& failure)
{
    answered();
    const std::string error = failure.text();
    if (call == reloadCall_) {
        reloadCall_ = 0;
        model_->setRows({});
        setStatus(QStringLiteral("Архив не удалось открыть: ") + utf8(error));
        if (!importSummary_.isNull()) {
            setStatus(importSummary_);
            importSummary_ = QString();
            emit importEnded();
        }
        emit reloaded(false);
    } else if (call == historyCall_) {
        historyCall_ = 0;
        setStatus(QStringLiteral("Историю крана не удалось прочитать: ") + utf8(error));
    } else if (call == dataCall_) {
        dataCall_ = 0;
        setStatus(QStringLiteral("Чтение не удалось открыть из архива: ") + utf8(error));
    } else if (call == importCall_) {
        importFinished(QStringLiteral("Архив не удалось открыть: ") + utf8(error));
    } else if (call == exportCall_) {
        exportCall_ = 0;
        nkp::ui::showWriteFailure(prompts_, kCaption, exportPath_.toStdString(), error);
    }
}

void TForm_Archive::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        reload();
    }
}

void TForm_Archive::reload()
{
    reloadCall_ = session_->reload();
}

void TForm_Archive::showRows(const std::vector<CraneRow>& rows)
{
    // The crane in view stays in view when the archive is read again (after
    // an import): its history is asked for anew.
    const std::optional<std::int64_t> kept = selectedCrane();
    showHistory(nullptr);
    model_->setRows(rows);
    fitCraneColumns();
    for (std::size_t r = 0; kept && r < rows.size(); ++r)
        if (rows[r].craneId == *kept)
            Table_Cranes->setCurrentIndex(proxy_->mapFromSource(model_->index(static_cast<int>(r), 0)));
    setStatus(QStringLiteral("Кранов: %1, чтений: %2")
                  .arg(rows.size())
                  .arg(std::accumulate(rows.begin(), rows.end(), std::size_t {0},
                      [](std::size_t n, const CraneRow& row) { return n + row.readouts.size(); })));
}

void TForm_Archive::fitCraneColumns()
{
    Table_Cranes->resizeColumnsToContents();
    // Long owners and remarks give way to the figures; their hint shows them whole.
    for (const CraneColumn c : {CraneColumn::Owner, CraneColumn::Remark})
        Table_Cranes->setColumnWidth(
            static_cast<int>(c), std::min(Table_Cranes->columnWidth(static_cast<int>(c)), 220));
}

void TForm_Archive::selectCrane(int viewRow)
{
    if (viewRow < 0 || viewRow >= proxy_->rowCount()) {
        showHistory(nullptr);
        return;
    }
    const QModelIndex source = proxy_->mapToSource(proxy_->index(viewRow, 0));
    showHistory(nullptr);
    // The crane's read-outs as the archive holds them now.
    historyCall_ = session_->history(model_->row(source.row()).craneId);
}

void TForm_Archive::showHistory(const CraneRow* row)
{
    shown_ = row;
    std::vector<nkp::ui::HistoryLine> lines;
    if (row)
        for (std::size_t i = 0; i < row->readouts.size(); ++i)
            lines.push_back({row, i});
    historyModel_->setRows(std::move(lines));
    Chart_History->showTrend(row ? &row->trend : nullptr);
    Button_Settings->setEnabled(row != nullptr);
    Button_Report->setEnabled(row != nullptr);
    const std::optional<std::int64_t> crane = selectedCrane();
    if (logView_->crane() != crane)
        logView_->showCrane(crane);
    if (remarksView_->crane() != crane)
        remarksView_->showCrane(crane);
}

void TForm_Archive::requestStoredReadout(int historyRow)
{
    if (!shown_ || historyRow < 0 || historyRow >= static_cast<int>(shown_->readouts.size()))
        return;
    const ArchivedReadout& r = shown_->readouts[static_cast<std::size_t>(historyRow)];
    openName_ = utf8(r.fileName);
    dataCall_ = session_->dataFile(r.sha256);
}

void TForm_Archive::writeReadout(const std::vector<std::uint8_t>& bytes)
{
    // The main window opens files: the stored one is written out first.
    static QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(openName_);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()))
            != static_cast<qint64>(bytes.size())) {
        setStatus(QStringLiteral("Чтение не удалось открыть из архива: ") + file.errorString());
        return;
    }
    file.close();
    emit readoutActivated(path);
}

void TForm_Archive::addPaths(const std::vector<std::string>& paths)
{
    if (isImporting())
        return;
    ProgressBar_Import->setRange(0, 0);
    ProgressBar_Import->show();
    Button_Cancel->show();
    Button_AddFolder->setEnabled(false);
    Button_AddFile->setEnabled(false);
    setStatus(QStringLiteral("Добавление в архив..."));
    importCall_ = session_->import(paths);
}

void TForm_Archive::applyLocation()
{
    // An import in progress keeps writing where it started.
    if (isImporting() || nkp::ui::archiveLocationFromEnvironment())
        return;
    nkp::ui::setArchiveLocationSetting(Edit_Location->text());
    location_ = nkp::ui::archiveLocation(startFolder_);
    archiveInputs_ = nkp::fileio::InputScope(archiveFiles(location_.toStdString()));
    Edit_Location->setText(location_);
    session_->setLocation(location_.toStdString());
    reload();
}

void TForm_Archive::cancelImport()
{
    session_->cancelImport();
}

// The summary is shown, and importEnded() follows, once the archive has been
// read again.
void TForm_Archive::importFinished(const QString& summary)
{
    importCall_ = 0;
    ProgressBar_Import->hide();
    Button_Cancel->hide();
    Button_AddFolder->setEnabled(true);
    Button_AddFile->setEnabled(true);
    importSummary_ = summary;
    reload();
}

void TForm_Archive::exportCsv()
{
    nkp::UserPrompts::FileDialog dialog;
    dialog.title = "Экспорт в CSV";
    dialog.filter = "Таблица CSV|*.csv|Все файлы (*.*)|*.*";
    dialog.initialDir = startFolder_.toStdString();
    dialog.fileName = "cranes.csv";
    dialog.defaultExtension = "csv";
    const std::optional<std::string> path = prompts_.saveFile(dialog);
    if (!path || nkp::ui::refusedAsInput(prompts_, kCaption, *path))
        return;
    // The rows as shown: filtered, in their order.
    std::vector<CraneRow> shown;
    for (int r = 0; r < proxy_->rowCount(); ++r)
        shown.push_back(model_->row(proxy_->mapToSource(proxy_->index(r, 0)).row()));
    exportPath_ = QString::fromStdString(*path);
    exportCall_ = session_->exportCsv(*path, craneTableCells(shown, decimalSeparator_));
}
