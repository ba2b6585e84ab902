#include "ui/archive/Archive.h"

#include "archive/Archive.h"
#include "archive/ArchiveImport.h"
#include "base/SpreadsheetCsv.h"
#include "ui/archive/ArchiveMenu.h"
#include "ui/common/ControlNames.h"
#include "ui/common/ResourceColor.h"
#include "ui/common/UiText.h"
#include "ui/common/WriteFailure.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <cmath>
#include <numeric>

#include <qcustomplot.h>

namespace {

using namespace nkp::archive;

const QString kCaption = QStringLiteral("Архив кранов");
constexpr int kSortRole = Qt::UserRole + 1;

QString utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// Seconds since the epoch of a moment, for the chart's date axis.
double chartTime(const nkp::base::DateTime& m)
{
    return dayNumber(m) * 86400.0;
}

// Sorts numeric columns by their number, others by text.
class CraneSortProxy : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& a, const QModelIndex& b) const override
    {
        const QVariant x = a.data(kSortRole), y = b.data(kSortRole);
        if (x.isValid() || y.isValid()) {
            if (!x.isValid() || !y.isValid())
                return !x.isValid();  // cells without a number first
            return x.toDouble() < y.toDouble();
        }
        return QString::localeAwareCompare(a.data().toString(), b.data().toString()) < 0;
    }
};

}  // namespace

TForm_Archive::TForm_Archive(
    nkp::UserPrompts& prompts, const QString& location, const QString& startFolder, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , prompts_(prompts)
    , location_(location)
    , startFolder_(startFolder)
{
    setObjectName(QStringLiteral("Form_Archive"));
    archiveInputs_ = nkp::fileio::InputScope(Archive::files(location_.toStdString()));
    setWindowTitle(kCaption);
    resize(1100, 760);

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

    model_ = new QStandardItemModel(0, kCraneColumnCount, this);
    QStringList headers;
    for (int c = 0; c < kCraneColumnCount; ++c)
        headers << utf8(std::string(craneColumnHeader(static_cast<CraneColumn>(c))));
    model_->setHorizontalHeaderLabels(headers);
    proxy_ = new CraneSortProxy(this);
    proxy_->setSourceModel(model_);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy_->setFilterKeyColumn(-1);
    Table_Cranes = new QTableView(this);
    Table_Cranes->setModel(proxy_);
    Table_Cranes->setSortingEnabled(true);
    Table_Cranes->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table_Cranes->setSelectionMode(QAbstractItemView::SingleSelection);
    Table_Cranes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_Cranes->verticalHeader()->hide();

    Table_History = new QTableWidget(0, kHistoryColumnCount, this);
    QStringList historyHeaders;
    for (int c = 0; c < kHistoryColumnCount; ++c)
        historyHeaders << utf8(std::string(historyColumnHeader(static_cast<HistoryColumn>(c))));
    Table_History->setHorizontalHeaderLabels(historyHeaders);
    Table_History->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_History->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table_History->verticalHeader()->hide();

    Chart_History = new QCustomPlot(this);
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("dd.MM.yyyy"));
    ticker->setDateTimeSpec(Qt::UTC);
    ticker->setTickCount(4);
    Chart_History->xAxis->setTicker(ticker);
    Chart_History->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);
    Chart_History->yAxis->setLabel(QStringLiteral("Накопленное число"));
    Chart_History->legend->setVisible(true);
    Chart_History->setMinimumHeight(220);

    nkp::ui::nameControls({{Edit_Location, "Edit_Location"}, {Button_Location, "Button_Location"},
        {Edit_Filter, "Edit_Filter"}, {Button_AddFolder, "Button_AddFolder"},
        {Button_AddFile, "Button_AddFile"}, {Button_Export, "Button_Export"},
        {Button_Cancel, "Button_Cancel"}, {ProgressBar_Import, "ProgressBar_Import"},
        {Label_Status, "Label_Status"}, {Table_Cranes, "Table_Cranes"}, {Table_History, "Table_History"},
        {Chart_History, "Chart_History"}});

    auto* top = new QHBoxLayout;
    top->addWidget(Edit_Filter, 1);
    top->addWidget(Button_AddFolder);
    top->addWidget(Button_AddFile);
    top->addWidget(Button_Export);
    auto* bottom = new QSplitter(Qt::Horizontal, this);
    bottom->addWidget(Table_History);
    bottom->addWidget(Chart_History);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Table_Cranes);
    split->addWidget(bottom);
    // The chart needs room for its dates; the crane list for a few rows.
    bottom->setSizes({520, 580});
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
    connect(
        Table_History, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { openReadout(row); });
    connect(Button_Export, &QPushButton::clicked, this, &TForm_Archive::exportCsv);
    connect(Button_Location, &QPushButton::clicked, this, &TForm_Archive::applyLocation);
    connect(Edit_Location, &QLineEdit::returnPressed, this, &TForm_Archive::applyLocation);
    connect(Button_Cancel, &QPushButton::clicked, this, &TForm_Archive::cancelImport);
    connect(Button_AddFolder, &QPushButton::clicked, this, [this] {
        const auto folder = prompts_.chooseFolder(
            nkp::ui::toCp1251(QStringLiteral("Добавить в архив")), startFolder_.toStdString());
        if (folder)
            addPaths({*folder});
    });
    connect(Button_AddFile, &QPushButton::clicked, this, [this] {
        nkp::UserPrompts::FileDialog dialog;
        dialog.title = nkp::ui::toCp1251(QStringLiteral("Добавить в архив"));
        dialog.filter = nkp::ui::toCp1251(QStringLiteral("Файлы НКП|*.nkp|Все файлы (*.*)|*.*"));
        dialog.initialDir = startFolder_.toStdString();
        if (const auto file = prompts_.openFile(dialog))
            addPaths({*file});
    });
    connect(&watcher_, &QFutureWatcher<QString>::finished, this, &TForm_Archive::importFinished);
}

TForm_Archive::~TForm_Archive()
{
    cancelImport();
    watcher_.waitForFinished();
}

void TForm_Archive::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        reload();
    }
}

bool TForm_Archive::reload()
{
    std::string error;
    const auto archive = Archive::open(location_.toStdString(), OpenMode::Existing, &error);
    std::optional<std::vector<ArchivedReadout>> readouts;
    if (archive)
        readouts = archive->readouts(&error);
    showHistory(nullptr);
    model_->removeRows(0, model_->rowCount());
    if (!readouts) {
        rows_.clear();
        Label_Status->setText(QStringLiteral("Архив не удалось открыть: ") + utf8(error));
        return false;
    }
    rows_ = craneRows(std::move(*readouts));
    Table_Cranes->setSortingEnabled(false);
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        QList<QStandardItem*> items;
        for (int c = 0; c < kCraneColumnCount; ++c) {
            const auto column = static_cast<CraneColumn>(c);
            auto* item = new QStandardItem(utf8(craneCellText(rows_[r], column, decimalSeparator_)));
            if (const auto number = craneCellNumber(rows_[r], column))
                item->setData(*number, kSortRole);
            if (column == CraneColumn::ResourcePercent) {
                const QColor colour = nkp::ui::resourceColor(rows_[r].trend.used.level);
                if (colour.isValid())
                    item->setBackground(colour);
            }
            item->setData(static_cast<qulonglong>(r), Qt::UserRole);
            items << item;
        }
        model_->appendRow(items);
    }
    Table_Cranes->setSortingEnabled(true);
    Table_Cranes->resizeColumnsToContents();
    Label_Status->setText(
        QStringLiteral("Кранов: %1, чтений: %2")
            .arg(rows_.size())
            .arg(std::accumulate(rows_.begin(), rows_.end(), std::size_t {0},
                [](std::size_t n, const CraneRow& row) { return n + row.readouts.size(); })));
    return true;
}

void TForm_Archive::selectCrane(int viewRow)
{
    if (viewRow < 0 || viewRow >= proxy_->rowCount()) {
        showHistory(nullptr);
        return;
    }
    const QModelIndex source = proxy_->mapToSource(proxy_->index(viewRow, 0));
    const auto r = static_cast<std::size_t>(model_->item(source.row(), 0)->data(Qt::UserRole).toULongLong());
    showHistory(r < rows_.size() ? &rows_[r] : nullptr);
}

void TForm_Archive::showHistory(const CraneRow* row)
{
    shown_ = row;
    Table_History->setRowCount(0);
    Chart_History->clearGraphs();
    Chart_History->clearItems();
    if (!row) {
        Chart_History->replot();
        return;
    }
    Table_History->setRowCount(static_cast<int>(row->readouts.size()));
    for (std::size_t i = 0; i < row->readouts.size(); ++i)
        for (int c = 0; c < kHistoryColumnCount; ++c)
            Table_History->setItem(static_cast<int>(i), c,
                new QTableWidgetItem(
                    utf8(historyCellText(*row, i, static_cast<HistoryColumn>(c), decimalSeparator_))));
    Table_History->resizeColumnsToContents();

    const CraneTrend& t = row->trend;
    QVector<double> x, y;
    for (const HistoryPoint& p : t.points)
        if (p.input.moment && std::isfinite(p.accumulated)) {
            x << chartTime(*p.input.moment);
            y << p.accumulated;
        }
    QCPGraph* points = Chart_History->addGraph();
    points->setName(QStringLiteral("Накопленное число"));
    points->setData(x, y);
    points->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 6));
    double xMin = x.isEmpty() ? 0 : x.front(), xMax = x.isEmpty() ? 1 : x.back();
    double yMax = y.isEmpty() ? 1 : *std::max_element(y.begin(), y.end());
    if (t.slopePerDay && *t.slopePerDay > 0 && !x.isEmpty()) {
        // The trend from the newest read-out to the forecast (or ten years on).
        const double start = chartTime(*t.points[t.newest].input.moment);
        const double end = t.forecastDate ? chartTime(*t.forecastDate) : start + 3652.5 * 86400.0;
        QCPGraph* trend = Chart_History->addGraph();
        trend->setName(QStringLiteral("Тренд"));
        trend->setPen(QPen(Qt::darkGreen, 1.5, Qt::DashLine));
        trend->setData(
            {start, end}, {t.accumulated, t.accumulated + *t.slopePerDay * (end - start) / 86400.0});
        xMax = std::max(xMax, end);
        yMax = std::max(yMax, t.accumulated + *t.slopePerDay * (end - start) / 86400.0);
    }
    if (t.normativeNumber > 0) {
        QCPGraph* norm = Chart_History->addGraph();
        norm->setName(QStringLiteral("Нормативное число"));
        norm->setPen(QPen(Qt::red, 1.5));
        norm->setData({xMin, xMax}, {double(t.normativeNumber), double(t.normativeNumber)});
        yMax = std::max(yMax, double(t.normativeNumber));
    }
    const double margin = std::max((xMax - xMin) * 0.03, 86400.0 * 10);
    Chart_History->xAxis->setRange(xMin - margin, xMax + margin);
    Chart_History->yAxis->setRange(0, yMax * 1.08);
    Chart_History->replot();
}

void TForm_Archive::openReadout(int historyRow)
{
    if (!shown_ || historyRow < 0 || historyRow >= static_cast<int>(shown_->readouts.size()))
        return;
    const ArchivedReadout& r = shown_->readouts[static_cast<std::size_t>(historyRow)];
    std::string error;
    const auto archive = Archive::open(location_.toStdString(), OpenMode::Existing, &error);
    const auto bytes = archive ? archive->dataFile(r.sha256, &error) : std::nullopt;
    // The main window opens files: the stored one is written out first.
    static QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(utf8(r.fileName));
    QFile file(path);
    if (!bytes || !file.open(QIODevice::WriteOnly)
        || file.write(reinterpret_cast<const char*>(bytes->data()), static_cast<qint64>(bytes->size()))
            != static_cast<qint64>(bytes->size())) {
        Label_Status->setText(QStringLiteral("Чтение не удалось открыть из архива: ")
            + (error.empty() ? file.errorString() : utf8(error)));
        return;
    }
    file.close();
    emit readoutActivated(path);
}

void TForm_Archive::addPaths(const std::vector<std::string>& paths)
{
    if (watcher_.isRunning())
        return;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    ProgressBar_Import->setRange(0, 0);
    ProgressBar_Import->show();
    Button_Cancel->show();
    Button_AddFolder->setEnabled(false);
    Button_AddFile->setEnabled(false);
    Label_Status->setText(QStringLiteral("Добавление в архив..."));
    const std::string location = location_.toStdString();
    const auto cancel = cancel_;
    QPointer<QProgressBar> bar = ProgressBar_Import;
    watcher_.setFuture(QtConcurrent::run([location, paths, cancel, bar]() -> QString {
        // The connection belongs to this thread.
        std::string error;
        const auto archive = Archive::open(location, OpenMode::CreateIfMissing, &error);
        if (!archive)
            return QStringLiteral("Архив не удалось открыть: ") + QString::fromStdString(error);
        std::vector<ImportProblem> missing;
        const auto files = collectImportFiles(paths, &missing);
        ImportReport report = importFiles(
            *archive, files,
            [bar](int done, int total) {
                QMetaObject::invokeMethod(
                    bar,
                    [bar, done, total] {
                        if (bar) {
                            bar->setRange(0, total);
                            bar->setValue(done);
                        }
                    },
                    Qt::QueuedConnection);
            },
            cancel.get());
        report.unreadable += static_cast<int>(missing.size());
        report.problems.insert(report.problems.begin(), missing.begin(), missing.end());
        QString text = QStringLiteral("Добавлено: %1, уже в архиве: %2, не прочитано: %3")
                           .arg(report.added)
                           .arg(report.alreadyThere)
                           .arg(report.unreadable);
        for (const ImportProblem& p : report.problems)
            text += QStringLiteral("; ") + QString::fromStdString(p.path) + QStringLiteral(": ")
                + QString::fromStdString(p.reason);
        if (report.cancelled)
            text += QStringLiteral(" (прервано)");
        if (report.writeFailed)
            text += QStringLiteral(". Архив не удалось записать: ")
                + QString::fromStdString(report.writeError);
        return text;
    }));
}

void TForm_Archive::applyLocation()
{
    // An import in progress keeps writing where it started.
    if (watcher_.isRunning() || nkp::ui::archiveLocationFromEnvironment())
        return;
    nkp::ui::setArchiveLocationSetting(Edit_Location->text());
    location_ = nkp::ui::archiveLocation(startFolder_);
    archiveInputs_ = nkp::fileio::InputScope(Archive::files(location_.toStdString()));
    Edit_Location->setText(location_);
    reload();
}

void TForm_Archive::cancelImport()
{
    if (cancel_)
        cancel_->store(true);
}

void TForm_Archive::importFinished()
{
    const QString summary = watcher_.result();
    ProgressBar_Import->hide();
    Button_Cancel->hide();
    Button_AddFolder->setEnabled(true);
    Button_AddFile->setEnabled(true);
    reload();
    Label_Status->setText(summary);
    emit importEnded();
}

void TForm_Archive::exportCsv()
{
    nkp::UserPrompts::FileDialog dialog;
    dialog.title = nkp::ui::toCp1251(QStringLiteral("Экспорт в CSV"));
    dialog.filter = nkp::ui::toCp1251(QStringLiteral("Таблица CSV|*.csv|Все файлы (*.*)|*.*"));
    dialog.initialDir = startFolder_.toStdString();
    dialog.fileName = "cranes.csv";
    dialog.defaultExtension = "csv";
    const std::optional<std::string> path = prompts_.saveFile(dialog);
    if (!path || nkp::ui::refusedAsInput(prompts_, kCaption, *path))
        return;
    // The rows as shown: filtered, in their order.
    std::vector<CraneRow> shown;
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        const QModelIndex source = proxy_->mapToSource(proxy_->index(r, 0));
        shown.push_back(
            rows_[static_cast<std::size_t>(model_->item(source.row(), 0)->data(Qt::UserRole).toULongLong())]);
    }
    std::string error;
    if (!nkp::fileio::writeCsvFile(*path, craneTableCells(shown, decimalSeparator_), &error))
        nkp::ui::showWriteFailure(prompts_, kCaption, *path, error);
}
