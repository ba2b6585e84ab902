#include "ui/archive/DueView.h"

#include "archive/ArchiveSession.h"
#include "base/Clock.h"
#include "ui/archive/ArchiveTables.h"
#include "ui/common/ColumnTableModel.h"
#include "ui/common/ControlNames.h"
#include "ui/common/UiText.h"
#include "ui/common/WriteFailure.h"

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

namespace nkp::ui {

using archive::DueStatus;

namespace {

const QString kCaption = QStringLiteral("Сроки");
// The state filter's entries after "все", in the combo box's order.
constexpr DueStatus kStates[] = {DueStatus::Overdue, DueStatus::Soon, DueStatus::Fine, DueStatus::NoData};

int mark(DueStatus status)
{
    return status == DueStatus::Overdue ? 1 : status == DueStatus::Soon ? 2 : 0;
}

}  // namespace

DueView::DueView(
    archive::ArchiveSession& session, UserPrompts& prompts, std::string startFolder, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , prompts_(prompts)
    , startFolder_(std::move(startFolder))
{
    setObjectName(QStringLiteral("TabSheet_Due"));
    ComboBox_DueState = new QComboBox(this);
    ComboBox_DueState->addItem(QStringLiteral("все"));
    for (const DueStatus s : kStates)
        ComboBox_DueState->addItem(QString::fromUtf8(archive::dueStatusText(s)));
    SpinBox_Horizon = new QSpinBox(this);
    SpinBox_Horizon->setRange(0, 3650);
    SpinBox_Horizon->setValue(archive::kDefaultHorizonDays);
    SpinBox_Horizon->setSuffix(QStringLiteral(" дн."));
    SpinBox_Horizon->setToolTip(QStringLiteral("Срок, наступающий в эти дни, отмечается как \"скоро\""));
    Button_DueExport = new QPushButton(QStringLiteral("Экспорт в CSV..."), this);
    Button_DuePrint = new QPushButton(QStringLiteral("Печать..."), this);
    model_ = new TableModel<TextRow>(textColumns(archive::dueTableCells({}).front(), {5}), ',', this);
    model_->setCellRoles([this](int r, int, int role) -> QVariant {
        if (role != Qt::BackgroundRole)
            return {};
        const int m = model_->row(r).mark;
        return m == 1 ? QVariant(kOverdueBackground) : m == 2 ? QVariant(kSoonBackground) : QVariant();
    });
    Table_Due = new QTableView(this);
    Table_Due->setModel(model_);
    Table_Due->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_Due->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table_Due->verticalHeader()->hide();
    compactTable(*Table_Due, *model_);
    Table_Due->horizontalHeader()->setStretchLastSection(true);
    nameControls({{ComboBox_DueState, "ComboBox_DueState"}, {SpinBox_Horizon, "SpinBox_Horizon"},
        {Button_DueExport, "Button_DueExport"}, {Button_DuePrint, "Button_DuePrint"},
        {Table_Due, "Table_Due"}});

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("Состояние:"), this));
    bar->addWidget(ComboBox_DueState);
    bar->addWidget(new QLabel(QStringLiteral("Скоро - в ближайшие"), this));
    bar->addWidget(SpinBox_Horizon);
    bar->addStretch(1);
    bar->addWidget(Button_DueExport);
    bar->addWidget(Button_DuePrint);
    layOutPage(this, bar, Table_Due);

    connect(ComboBox_DueState, &QComboBox::currentIndexChanged, this, &DueView::applyFilter);
    connect(SpinBox_Horizon, &QSpinBox::valueChanged, this, &DueView::refresh);
    connect(Button_DuePrint, &QPushButton::clicked, this, &DueView::print);
    connect(Button_DueExport, &QPushButton::clicked, this, &DueView::exportCsv);
    connect(&session_, &archive::ArchiveSession::dueListReady, this,
        [this](std::uint64_t call, const std::vector<archive::DueRow>& rows) {
            if (call != call_)
                return;
            call_ = 0;
            rows_ = rows;
            applyFilter();
        });
    connect(&session_, &archive::ArchiveSession::exported, this, [this](std::uint64_t call) {
        if (call == exportCall_) {
            exportCall_ = 0;
            emit status(QStringLiteral("Сроки записаны в файл: ") + QFile::decodeName(exportPath_.c_str()));
        }
    });
    connect(&session_, &archive::ArchiveSession::failed, this,
        [this](std::uint64_t call, const nkp::Failure& failure) {
            const std::string error = failure.text();
            if (call == call_) {
                call_ = 0;
                emit status(QStringLiteral("Сроки не удалось прочитать: ") + QString::fromStdString(error));
            } else if (call == exportCall_) {
                exportCall_ = 0;
                showWriteFailure(prompts_, kCaption, exportPath_, error);
            }
        });
}

void DueView::refresh()
{
    call_ = session_.dueList(today_ ? *today_ : base::systemClock().now(), SpinBox_Horizon->value());
}

void DueView::applyFilter()
{
    const int index = ComboBox_DueState->currentIndex();
    shown_.clear();
    for (const archive::DueRow& row : rows_)
        if (index <= 0 || row.due.status == kStates[index - 1])
            shown_.push_back(row);
    std::vector<TextRow> rows = textRows(archive::dueTableCells(shown_));
    for (std::size_t r = 0; r < rows.size(); ++r)
        rows[r].mark = mark(shown_[r].due.status);
    model_->setRows(std::move(rows));
    Table_Due->resizeColumnsToContents();
}

void DueView::exportCsv()
{
    UserPrompts::FileDialog dialog;
    dialog.title = "Экспорт в CSV";
    dialog.filter = "Таблица CSV|*.csv|Все файлы (*.*)|*.*";
    dialog.initialDir = startFolder_;
    dialog.fileName = "due.csv";
    dialog.defaultExtension = "csv";
    const std::optional<std::string> path = prompts_.saveFile(dialog);
    if (!path || refusedAsInput(prompts_, kCaption, *path))
        return;
    exportPath_ = *path;
    exportCall_ = session_.exportCsv(*path, archive::dueTableCells(shown_));
}

void DueView::print()
{
    std::vector<std::vector<std::string>> cells = archive::dueTableCells(shown_);
    std::vector<int> red, amber;
    for (std::size_t r = 0; r < shown_.size(); ++r)
        (shown_[r].due.status == DueStatus::Overdue ? red : amber).push_back(static_cast<int>(r + 1));
    std::erase_if(amber,
        [this](int r) { return shown_[static_cast<std::size_t>(r - 1)].due.status != DueStatus::Soon; });
    const base::DateTime today = today_ ? *today_ : base::systemClock().now();
    const QString title = QStringLiteral("Сроки на %1").arg(QString::fromStdString(base::dateText(today)));
    const QString subtitle = QStringLiteral("Состояние: %1; \"скоро\" - в ближайшие %2 дн.")
                                 .arg(ComboBox_DueState->currentText())
                                 .arg(SpinBox_Horizon->value());
    const ArchiveRender render = [title, subtitle, cells, red, amber](QPagedPaintDevice& device) {
        return printTextTable(device, title, subtitle, cells, red, amber);
    };
    if (preview_)
        preview_(title, render);
    else
        showArchivePreview(window(), prompts_, title, render);
}

}  // namespace nkp::ui
