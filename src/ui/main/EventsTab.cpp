#include "ui/main/EventsTab.h"

#include "analysis/EventsCsv.h"
#include "base/SafeFileWriter.h"
#include "ui/common/UiText.h"
#include "ui/common/WriteFailure.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <qcustomplot.h>

using nkp::ui::fromCp1251;

namespace {

QTableWidgetItem* cell(const QString& text, bool number)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

EventsTab::EventsTab(const nkp::screen::MainState& state, const QString& startDirectory,
    char decimalSeparator, nkp::UserPrompts& prompts, QWidget* parent)
    : QWidget(parent)
    , state_(state)
    , startDirectory_(startDirectory)
    , decimalSeparator_(decimalSeparator)
    , prompts_(prompts)
{
    setObjectName(QStringLiteral("TabSheet_Events"));

    ComboBox_Kind = new QComboBox;
    ComboBox_Kind->setObjectName(QStringLiteral("ComboBox_Kind"));
    ComboBox_Kind->addItem(QStringLiteral("Все события"), -1);
    for (int k = 0; k < nkp::analysis::kEventKindCount; ++k)
        ComboBox_Kind->addItem(
            fromCp1251(nkp::analysis::eventKindName(static_cast<nkp::analysis::EventKind>(k))), k);
    Edit_Threshold = new QSpinBox;
    Edit_Threshold->setObjectName(QStringLiteral("Edit_Threshold"));
    Edit_Threshold->setRange(0, 255);
    Edit_Threshold->setValue(nkp::analysis::kDefaultOverloadThreshold);
    Edit_Threshold->setSuffix(QStringLiteral(" %"));
    Label_Counts = new QLabel;
    Label_Counts->setTextFormat(Qt::PlainText);
    Label_Counts->setObjectName(QStringLiteral("Label_Counts"));
    BitBtn_ExportCsv = new QPushButton(QStringLiteral("Экспорт в CSV..."));
    BitBtn_ExportCsv->setObjectName(QStringLiteral("BitBtn_ExportCsv"));

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("Вид:")));
    filters->addWidget(ComboBox_Kind);
    filters->addSpacing(12);
    filters->addWidget(new QLabel(QStringLiteral("Перегрузка от")));
    filters->addWidget(Edit_Threshold);
    filters->addStretch(1);
    filters->addWidget(BitBtn_ExportCsv);

    eventsModel_ = new nkp::ui::TableModel<nkp::analysis::Episode>(
        nkp::analysis::episodeColumns(state_.frames), decimalSeparator_, this);
    // Short headings on two lines (the full ones as hints) and columns as
    // wide as their texts; the kind takes the rest and elides (its text is
    // its hint): the window is 800 pixels wide and the table scrolls only
    // vertically.
    eventsModel_->setShownHeaders({QStringLiteral("Событие"), QStringLiteral("Первый\nкадр"),
        QStringLiteral("Послед.\nкадр"), QStringLiteral("Кадров"), QStringLiteral("Начало"),
        QStringLiteral("Конец"), QStringLiteral("Пик,\n%"), QStringLiteral("Масса,\nт"),
        QStringLiteral("Вылет,\nм"), QStringLiteral("Стрела,\nм")});
    eventsModel_->setCellRoles([this](int row, int column, int role) {
        return role == Qt::ToolTipRole && column == 0 ? eventsModel_->index(row, column).data() : QVariant();
    });
    StringGrid_Events = new QTableView;
    StringGrid_Events->setObjectName(QStringLiteral("StringGrid_Events"));
    StringGrid_Events->setModel(eventsModel_);
    StringGrid_Events->verticalHeader()->hide();
    StringGrid_Events->verticalHeader()->setDefaultSectionSize(18);
    StringGrid_Events->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid_Events->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid_Events->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = StringGrid_Events->horizontalHeader();
    for (int c = 0; c < eventsModel_->columnCount(); ++c)
        header->setSectionResizeMode(c, c == 0 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(30);
    StringGrid_Events->setTextElideMode(Qt::ElideRight);
    StringGrid_Events->setWordWrap(false);
    StringGrid_Events->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    Chart_Spectrum = new QCustomPlot;
    Chart_Spectrum->setObjectName(QStringLiteral("Chart_Spectrum"));
    Chart_Spectrum->plotLayout()->insertRow(0);
    Chart_Spectrum->plotLayout()->addElement(0, 0,
        new QCPTextElement(Chart_Spectrum, QStringLiteral("Распределение кадров по степени загрузки"),
            QFont(QStringLiteral("MS Sans Serif"), 8, QFont::Bold)));
    Chart_Spectrum->xAxis->setLabel(QStringLiteral("Степень загрузки, %"));
    Chart_Spectrum->yAxis->setLabel(QStringLiteral("Кадров"));
    Chart_Spectrum->installEventFilter(this);

    StringGrid_Cycles = new QTableWidget(static_cast<int>(nkp::recorder::kCycleBandCount) + 1, 3);
    StringGrid_Cycles->setObjectName(QStringLiteral("StringGrid_Cycles"));
    StringGrid_Cycles->setHorizontalHeaderLabels(
        {QStringLiteral("Диапазон нагрузок"), QStringLiteral("Рабочие циклы"), QStringLiteral("Доля, %")});
    StringGrid_Cycles->verticalHeader()->hide();
    StringGrid_Cycles->verticalHeader()->setDefaultSectionSize(18);
    StringGrid_Cycles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid_Cycles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fitCyclesTable();

    auto* spectrumRow = new QWidget;
    auto* bottom = new QHBoxLayout(spectrumRow);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(Chart_Spectrum, 1);
    bottom->addWidget(StringGrid_Cycles);

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(StringGrid_Events);
    split->addWidget(spectrumRow);
    split->setSizes({260, 230});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(filters);
    layout->addWidget(Label_Counts);
    layout->addWidget(split, 1);

    connect(ComboBox_Kind, &QComboBox::currentIndexChanged, this, &EventsTab::fillTable);
    connect(Edit_Threshold, &QSpinBox::valueChanged, this, &EventsTab::recompute);
    connect(BitBtn_ExportCsv, &QPushButton::clicked, this, &EventsTab::exportCsv);
    connect(StringGrid_Events, &QTableView::clicked, this, [this](const QModelIndex& index) {
        showEpisode(index.row());
        emit framesTableWanted();
    });
    connect(StringGrid_Events->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current, const QModelIndex& previous) {
            if (current.row() != previous.row() && current.isValid())
                showEpisode(current.row());
        });
    fillTable();
    fillSpectrum();
}

int EventsTab::threshold() const
{
    return Edit_Threshold->value();
}

void EventsTab::showLoaded()
{
    const nkp::screen::MainState& s = state_;
    spectrum_ = nkp::analysis::loadSpectrum(s.frames, s.readout.cycleCounts);
    recompute();
    fillSpectrum();
}

void EventsTab::recompute()
{
    const nkp::screen::MainState& s = state_;
    episodes_ = nkp::analysis::findEpisodes(s.frames, s.RingStart, threshold());
    fillTable();
}

void EventsTab::fillTable()
{
    const int kind = ComboBox_Kind->currentData().toInt();
    shown_.clear();
    for (std::size_t i = 0; i < episodes_.size(); ++i)
        if (kind < 0 || static_cast<int>(episodes_[i].kind) == kind)
            shown_.push_back(static_cast<int>(i));

    const std::array<int, nkp::analysis::kEventKindCount> counts = nkp::analysis::countByKind(episodes_);
    QStringList parts;
    for (int k = 0; k < nkp::analysis::kEventKindCount; ++k)
        parts << QStringLiteral("%1: %2")
                     .arg(fromCp1251(nkp::analysis::eventKindName(static_cast<nkp::analysis::EventKind>(k))))
                     .arg(counts[static_cast<std::size_t>(k)]);
    Label_Counts->setText(
        QStringLiteral("Эпизодов: %1.  ").arg(episodes_.size()) + parts.join(QStringLiteral(";  ")));

    std::vector<nkp::analysis::Episode> rows;
    rows.reserve(shown_.size());
    for (const int i : shown_)
        rows.push_back(episodes_[static_cast<std::size_t>(i)]);
    eventsModel_->setRows(std::move(rows));
}

void EventsTab::drawSpectrumChart()
{
    spectrumChartStale_ = false;
    const char sep = decimalSeparator_;
    Chart_Spectrum->clearPlottables();
    Chart_Spectrum->clearItems();
    auto* bars = new QCPBars(Chart_Spectrum->xAxis, Chart_Spectrum->yAxis);
    bars->setBrush(QColor(0, 128, 0));
    bars->setPen(QPen(QColor(0, 80, 0)));
    bars->setWidth(0.7);
    QSharedPointer<QCPAxisTickerText> ticker(new QCPAxisTickerText);
    double highest = 1;
    for (int band = 0; band < nkp::analysis::kSpectrumBandCount; ++band) {
        const int count = spectrum_.frames[static_cast<std::size_t>(band)];
        bars->addData(band, count);
        highest = std::max<double>(highest, count);
        ticker->addTick(band,
            fromCp1251(nkp::analysis::spectrumBandText(band))
                .replace(QStringLiteral(" и более"), QStringLiteral("+")));
        auto* share = new QCPItemText(Chart_Spectrum);
        share->position->setCoords(band, count);
        share->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        share->setText(fromCp1251(nkp::analysis::shareText(count, spectrum_.validFrames, sep)));
        share->setFont(QFont(QStringLiteral("MS Sans Serif"), 7));
    }
    // The bands from 100 % on are overloads.
    bars->setBrush(QColor(0, 128, 0));
    Chart_Spectrum->xAxis->setTicker(ticker);
    Chart_Spectrum->xAxis->setTickLabelRotation(45);
    Chart_Spectrum->xAxis->setRange(-0.6, nkp::analysis::kSpectrumBandCount - 0.4);
    Chart_Spectrum->yAxis->setRange(0, highest * 1.15);
    Chart_Spectrum->replot();
}

void EventsTab::fillSpectrum()
{
    const char sep = decimalSeparator_;
    for (std::size_t band = 0; band <= nkp::recorder::kCycleBandCount; ++band) {
        const bool total = band == nkp::recorder::kCycleBandCount;
        const std::int64_t count = total ? spectrum_.totalCycles : spectrum_.cycles[band];
        const int row = static_cast<int>(band);
        StringGrid_Cycles->setItem(row, 0,
            cell(total ? QStringLiteral("Всего") : fromCp1251(nkp::analysis::cycleBandText(band)), false));
        StringGrid_Cycles->setItem(row, 1, cell(QString::number(count), true));
        StringGrid_Cycles->setItem(
            row, 2, cell(fromCp1251(nkp::analysis::shareText(count, spectrum_.totalCycles, sep)), true));
    }
    fitCyclesTable();
    // The chart is drawn when it is seen: drawing it hidden would cost each
    // load the time of a paint.
    if (Chart_Spectrum->isVisible())
        drawSpectrumChart();
    else
        spectrumChartStale_ = true;
}

bool EventsTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Chart_Spectrum && event->type() == QEvent::Show && spectrumChartStale_)
        drawSpectrumChart();
    return QWidget::eventFilter(watched, event);
}

void EventsTab::fitCyclesTable()
{
    // As wide as its captions and numbers in the user's font, so that no
    // column is cut whatever the font and the screen's scale.
    StringGrid_Cycles->resizeColumnsToContents();
    int width = 2 * StringGrid_Cycles->frameWidth();
    for (int c = 0; c < StringGrid_Cycles->columnCount(); ++c)
        width += StringGrid_Cycles->columnWidth(c);
    StringGrid_Cycles->setFixedWidth(width);
}

void EventsTab::showEpisode(int row)
{
    if (row < 0 || row >= static_cast<int>(shown_.size()))
        return;
    const nkp::analysis::Episode& e
        = episodes_[static_cast<std::size_t>(shown_[static_cast<std::size_t>(row)])];
    emit episodeChosen(e.firstPosition, e.lastPosition);
}

int EventsTab::kindFilter() const
{
    return ComboBox_Kind->currentData().toInt();
}

bool EventsTab::exportCsv()
{
    const nkp::screen::MainState& s = state_;
    nkp::UserPrompts::FileDialog dialog;
    dialog.title = "Экспорт событий в CSV";
    dialog.filter = "Файлы CSV (*.csv)|*.csv|Все файлы (*.*)|*.*";
    dialog.defaultExtension = "csv";
    const QString loaded = QFile::decodeName(s.filePath.c_str());
    dialog.initialDir
        = QFile::encodeName(loaded.isEmpty() ? startDirectory_ : QFileInfo(loaded).absolutePath())
              .toStdString();
    dialog.fileName = QFile::encodeName(
        (loaded.isEmpty() ? QStringLiteral("События")
                          : QFileInfo(loaded).completeBaseName() + QStringLiteral(" события"))
        + QStringLiteral(".csv"))
                          .toStdString();
    const std::optional<std::string> path = prompts_.saveFile(dialog);
    if (!path || nkp::ui::refusedAsInput(prompts_, QStringLiteral("Ошибка"), *path, s.filePath))
        return false;
    // The episodes the user filtered the table to.
    std::vector<nkp::analysis::Episode> shown;
    for (int i : shown_)
        shown.push_back(episodes_[static_cast<std::size_t>(i)]);
    if (const nkp::Done written = nkp::fileio::writeFileAtomically(
            *path, nkp::analysis::eventsCsv(shown, s.frames, decimalSeparator_, true));
        !written) {
        nkp::ui::showWriteFailure(prompts_, QStringLiteral("Ошибка"), *path, written.error());
        return false;
    }
    nkp::ui::showWritten(prompts_, QStringLiteral("Экспорт событий в CSV"), *path,
        QStringLiteral("Событий записано: %1").arg(shown.size()));
    return true;
}
