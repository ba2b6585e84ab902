#include "ui/fleet/Fleet.h"

#include "fleet/FleetCsv.h"
#include "ui/common/ControlNames.h"
#include "ui/common/ScreenFit.h"
#include "ui/common/UiText.h"
#include "ui/common/WriteFailure.h"
#include "ui/fleet/FleetTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Обзор парка");

}  // namespace

TForm_Fleet::TForm_Fleet(nkp::UserPrompts& prompts, const QString& defaultFolder, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , prompts_(prompts)
{
    setObjectName(QStringLiteral("Form_Fleet"));
    setWindowTitle(kCaption);
    nkp::ui::fitToScreen(this, QSize(1100, 600));

    Edit_Folder = new QLineEdit(defaultFolder, this);
    Button_Folder = new QPushButton(QStringLiteral("Папка..."), this);
    Button_Refresh = new QPushButton(QStringLiteral("Обновить"), this);
    ProgressBar_Scan = new QProgressBar(this);
    Button_Cancel = new QPushButton(QStringLiteral("Отмена"), this);
    Edit_Filter = new QLineEdit(this);
    Edit_Filter->setPlaceholderText(QStringLiteral("Фильтр по всем столбцам"));
    Edit_Filter->setClearButtonEnabled(true);
    Table_Fleet = new QTableView(this);
    Button_Export = new QPushButton(QStringLiteral("Экспорт в CSV..."), this);
    Button_AddToArchive = new QPushButton(QStringLiteral("Добавить в архив"), this);
    Label_Status = new QLabel(this);
    Label_Status->setTextFormat(Qt::PlainText);  // names of files and folders
    Label_Status->setWordWrap(true);             // a long status wraps instead of widening the window

    nkp::ui::nameControls(
        {{Edit_Folder, "Edit_Folder"}, {Button_Folder, "Button_Folder"}, {Button_Refresh, "Button_Refresh"},
            {ProgressBar_Scan, "ProgressBar_Scan"}, {Button_Cancel, "Button_Cancel"},
            {Edit_Filter, "Edit_Filter"}, {Table_Fleet, "Table_Fleet"}, {Button_Export, "Button_Export"},
            {Button_AddToArchive, "Button_AddToArchive"}, {Label_Status, "Label_Status"}});

    model_ = new nkp::ui::FleetTableModel(this);
    proxy_ = new QSortFilterProxyModel(this);
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(nkp::ui::FleetTableModel::kSortRole);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    Table_Fleet->setModel(proxy_);
    Table_Fleet->setSortingEnabled(true);
    Table_Fleet->sortByColumn(0, Qt::AscendingOrder);
    Table_Fleet->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table_Fleet->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_Fleet->verticalHeader()->hide();
    // One line a read-out: long texts are cut, not wrapped; the columns take
    // the width of their contents once a scan has ended.
    Table_Fleet->setWordWrap(false);
    Table_Fleet->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table_Fleet->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    Table_Fleet->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);

    auto* folderLine = new QHBoxLayout;
    folderLine->addWidget(new QLabel(QStringLiteral("Папка:"), this));
    folderLine->addWidget(Edit_Folder, 1);
    folderLine->addWidget(Button_Folder);
    folderLine->addWidget(Button_Refresh);
    auto* progressLine = new QHBoxLayout;
    progressLine->addWidget(ProgressBar_Scan, 1);
    progressLine->addWidget(Button_Cancel);
    auto* filterLine = new QHBoxLayout;
    filterLine->addWidget(new QLabel(QStringLiteral("Фильтр:"), this));
    filterLine->addWidget(Edit_Filter, 1);
    auto* bottomLine = new QHBoxLayout;
    bottomLine->addWidget(Label_Status, 1);
    bottomLine->addWidget(Button_AddToArchive);
    bottomLine->addWidget(Button_Export);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folderLine);
    layout->addLayout(progressLine);
    layout->addLayout(filterLine);
    layout->addWidget(Table_Fleet, 1);
    layout->addLayout(bottomLine);

    connect(Button_Folder, &QPushButton::clicked, this, &TForm_Fleet::chooseFolder);
    connect(Button_Refresh, &QPushButton::clicked, this, &TForm_Fleet::scan);
    connect(Edit_Folder, &QLineEdit::returnPressed, this, &TForm_Fleet::scan);
    connect(Button_Cancel, &QPushButton::clicked, this, &TForm_Fleet::cancelScan);
    connect(Button_Export, &QPushButton::clicked, this, &TForm_Fleet::exportCsv);
    connect(Button_AddToArchive, &QPushButton::clicked, this, &TForm_Fleet::addShownToArchive);
    connect(Edit_Filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        proxy_->setFilterFixedString(text);
        showCount();
    });
    connect(Table_Fleet, &QTableView::doubleClicked, this, &TForm_Fleet::activate);
    // Esc closes the window, as it closes a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("Shortcut_Close"));
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    using nkp::fleet::FleetScan;
    connect(&scan_, &FleetScan::listed, this, [this](int count) {
        listedCount_ = count;
        ProgressBar_Scan->setRange(0, count);
        ProgressBar_Scan->setValue(0);
    });
    connect(&scan_, &FleetScan::progress, this, [this](int done, int) { ProgressBar_Scan->setValue(done); });
    connect(&scan_, &FleetScan::finished, this, [this] { showRows(true); });
    connect(&scan_, &FleetScan::cancelled, this, [this] { showRows(false); });
    connect(&scan_, &FleetScan::failed, this, [this](const QString& message) {
        scanning(false);
        model_->setRows({});
        shownInputs_.clear();
        Label_Status->setText(QStringLiteral("Папку не удалось прочитать: ") + message);
        emit scanEnded();
    });
    scanning(false);
}

TForm_Fleet::~TForm_Fleet() = default;  // the scan cancels and waits for its threads

void TForm_Fleet::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        if (!isScanning() && model_->rowCount() == 0)
            scan();
    }
}

void TForm_Fleet::scan()
{
    listedCount_ = 0;
    ProgressBar_Scan->setRange(0, 0);  // busy until the folder is listed
    scanning(true);
    Label_Status->setText(QStringLiteral("Поиск файлов..."));
    scan_.start(Edit_Folder->text().toStdString(), decimalSeparator_);
}

void TForm_Fleet::cancelScan()
{
    scan_.cancel();
}

void TForm_Fleet::scanning(bool running)
{
    scanning_ = running;
    ProgressBar_Scan->setVisible(running);
    Button_Cancel->setVisible(running);
    Button_Refresh->setEnabled(!running);
    Button_Export->setEnabled(!running);
    Button_AddToArchive->setEnabled(!running);
}

void TForm_Fleet::showRows(bool complete)
{
    scanning(false);
    model_->setRows(scan_.rows());
    // The read-outs shown are inputs until the next scan.
    std::vector<std::string> paths;
    for (const nkp::fleet::FleetRow& row : model_->rows())
        paths.push_back(row.path);
    shownInputs_ = nkp::fileio::InputScope(paths);
    Table_Fleet->resizeColumnsToContents();
    showCount();
    if (!complete)
        Label_Status->setText(
            QStringLiteral("Прервано: загружено %1 из %2 файлов. ").arg(model_->rowCount()).arg(listedCount_)
            + Label_Status->text());
    emit scanEnded();
}

void TForm_Fleet::showCount()
{
    const int all = model_->rowCount();
    const int shown = proxy_->rowCount();
    Label_Status->setText(shown == all ? QStringLiteral("Файлов: %1").arg(all)
                                       : QStringLiteral("Показано %1 из %2 файлов").arg(shown).arg(all));
}

void TForm_Fleet::chooseFolder()
{
    const std::optional<std::string> folder
        = prompts_.chooseFolder("Папка с файлами считывания", Edit_Folder->text().toStdString());
    if (!folder)
        return;
    Edit_Folder->setText(QString::fromStdString(*folder));
    scan();
}

void TForm_Fleet::exportCsv()
{
    nkp::UserPrompts::FileDialog dialog;
    dialog.title = "Экспорт в CSV";
    dialog.filter = "Таблица CSV|*.csv|Все файлы (*.*)|*.*";
    dialog.initialDir = Edit_Folder->text().toStdString();
    dialog.fileName = "fleet.csv";
    dialog.defaultExtension = "csv";
    const std::optional<std::string> path = prompts_.saveFile(dialog);
    if (!path || nkp::ui::refusedAsInput(prompts_, kCaption, *path))
        return;
    std::vector<nkp::fleet::FleetRow> rows;
    for (int r = 0; r < proxy_->rowCount(); ++r)
        rows.push_back(
            model_->rows()[static_cast<std::size_t>(proxy_->mapToSource(proxy_->index(r, 0)).row())]);
    if (const nkp::Done written = nkp::fleet::writeFleetCsv(*path, rows); !written)
        nkp::ui::showWriteFailure(prompts_, kCaption, *path, written.error());
    else
        nkp::ui::showWritten(
            prompts_, kCaption, *path, QStringLiteral("Строк записано: %1").arg(rows.size()));
}

void TForm_Fleet::addShownToArchive()
{
    std::vector<std::string> paths;
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        const nkp::fleet::FleetRow& row
            = model_->rows()[static_cast<std::size_t>(proxy_->mapToSource(proxy_->index(r, 0)).row())];
        // Only what loaded here: a row that failed would fail there too.
        if (row.loaded)
            paths.push_back(row.path);
    }
    if (!paths.empty())
        emit addToArchive(paths);
}

void TForm_Fleet::activate(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const nkp::fleet::FleetRow& row
        = model_->rows()[static_cast<std::size_t>(proxy_->mapToSource(index).row())];
    // Only a read-out that loaded here is handed on: opening a pipe would block.
    if (row.loaded)
        emit readoutActivated(QString::fromStdString(row.path));
}
