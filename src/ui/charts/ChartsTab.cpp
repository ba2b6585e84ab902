#include "ui/charts/ChartsTab.h"
#include "analysis/FrameFieldTexts.h"

#include "ui/charts/ChartZoomSync.h"
#include "ui/charts/FrameChart.h"
#include "ui/common/UiText.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QSet<QString>& pointSeries()
{
    static const QSet<QString> ids {QStringLiteral("Series3"), QStringLiteral("Series6"),
        QStringLiteral("Series7"), QStringLiteral("Series8"), QStringLiteral("Series9")};
    return ids;
}

QLabel* colouredLabel(const QString& text, QColor colour)
{
    auto* label = new QLabel(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

}  // namespace

ChartsTab::ChartsTab(const nkp::screen::MainState& state, QWidget* parent)
    : QWidget(parent)
    , state_(state)
{
    setObjectName(QStringLiteral("TabSheet_Grafik"));
    PageControl_Grafik = new QTabWidget(this);
    PageControl_Grafik->setObjectName(QStringLiteral("PageControl_Grafik"));
    PageControl_Grafik->setTabPosition(QTabWidget::West);
    PageControl_Grafik->addTab(TabSheet_Param = buildParamPage(), QStringLiteral("Параметры"));
    PageControl_Grafik->addTab(TabSheet_KZ = buildKzPage(), QStringLiteral("Координатная защита"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl_Grafik);

    zoomSync_ = new ChartZoomSync(this);
    for (FrameChart* chart : {Chart_Param, Chart_KZ}) {
        zoomSync_->addChart(chart);
        chart->setFrameStampLookup([this](int position) { return frameStamp(position); });
    }
}

QString ChartsTab::frameStamp(int position) const
{
    if (position < 0 || position >= static_cast<int>(nkp::recorder::kFrameCount))
        return {};
    // As in the table: only a good frame has a date and time to show.
    const nkp::recorder::TFrameRecord& record = state_.recordAt(position);
    if (!record.isOk())
        return {};
    return nkp::ui::fromCp1251(nkp::analysis::frameDateTimeText(record)).trimmed();
}

QCheckBox* ChartsTab::checkBox(const char* name, const QString& caption, QColor colour, bool checked)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    box->setPalette(palette);
    box->setChecked(checked);
    connect(box, &QCheckBox::clicked, this, &ChartsTab::CheckBox_GrParClick);
    return box;
}

QWidget* ChartsTab::buildParamPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_Param"));
    Chart_Param
        = new FrameChart(QStringLiteral("Графики временной зависимости регистрируемых параметров"), page);
    Chart_Param->setObjectName(QStringLiteral("Chart_Param"));
    connect(Chart_Param, &FrameChart::pointClicked, this, &ChartsTab::paramPointClicked);

    Panel6 = new QFrame(page);
    Panel6->setObjectName(QStringLiteral("Panel6"));
    Panel6->setFrameShape(QFrame::StyledPanel);
    Panel6->installEventFilter(this);
    auto* row = new QHBoxLayout(Panel6);
    row->setContentsMargins(6, 2, 6, 2);
    Label100 = colouredLabel(QStringLiteral("------- 100%"), Qt::red);
    row->addWidget(Label100);
    row->addWidget(CheckBox_GrParM
        = checkBox("CheckBox_GrParM", QStringLiteral("------ M1(t) "), QColor(0, 128, 0), true));
    row->addWidget(
        CheckBox_GrParQ = checkBox("CheckBox_GrParQ", QStringLiteral("-------- Q(t)"), Qt::blue, true));
    row->addWidget(CheckBox_GrParR
        = checkBox("CheckBox_GrParR", QStringLiteral("-------- R(t)"), QColor(128, 0, 0), false));
    row->addWidget(
        CheckBox_GrParL = checkBox("CheckBox_GrParL", QStringLiteral("-------- L(t)"), Qt::black, false));
    row->addWidget(CheckBox_Data = checkBox("CheckBox_Data", QStringLiteral("Даты"), Qt::black, false));
    row->addStretch(1);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Chart_Param, 1);
    layout->addWidget(Panel6);
    return page;
}

QWidget* ChartsTab::buildKzPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet_KZ"));
    auto* legend = new QLabel(QStringLiteral("1 - СТЕНА                  2 - ПОТОЛОК                        "
                                             "3 - Поворот ВЛЕВО                     4 - Поворот ВПРАВО"),
        page);
    legend->setTextFormat(Qt::PlainText);
    Chart_KZ = new FrameChart(QStringLiteral("Графики работы координатной защиты"), page);
    Chart_KZ->setObjectName(QStringLiteral("Chart_KZ"));
    Chart_KZ->setFixedValueRange(0, 5);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(legend);
    layout->addWidget(Chart_KZ, 1);
    return page;
}

void ChartsTab::showCharts(const nkp::screen::ChartsData& charts)
{
    Chart_Param->setSeries(charts.param, pointSeries());
    if (!charts.paramTitle.empty())
        Chart_Param->setTitle(nkp::ui::fromCp1251(charts.paramTitle));
    Chart_Param->xAxis->setLabel(nkp::ui::fromCp1251(charts.paramBottomAxisTitle));
    Chart_KZ->setSeries(charts.kz, pointSeries());
    // Both charts show the whole read-out on the same x range.
    std::optional<QCPRange> full = Chart_Param->keyRange();
    if (const std::optional<QCPRange> kz = Chart_KZ->keyRange())
        full = full ? full->expanded(*kz) : kz;
    if (full)
        full->upper = std::max(full->upper, full->lower + 1);
    zoomSync_->setFullRange(full);
    CheckBox_GrParClick();
    Chart_KZ->replot();
}

void ChartsTab::CheckBox_GrParClick()
{
    Chart_Param->setSeriesVisible(QStringLiteral("Series1"), CheckBox_GrParM->isChecked());
    Chart_Param->setSeriesVisible(QStringLiteral("Series2"), CheckBox_GrParM->isChecked());
    Chart_Param->setSeriesVisible(QStringLiteral("Series16"), CheckBox_GrParR->isChecked());
    Chart_Param->setSeriesVisible(QStringLiteral("Series4"), CheckBox_GrParQ->isChecked());
    Chart_Param->setSeriesVisible(QStringLiteral("Series5"), CheckBox_GrParL->isChecked());
    Chart_Param->setSeriesVisible(QStringLiteral("Series3"), CheckBox_Data->isChecked());
    Chart_Param->rescaleValueAxis();
    Chart_Param->replot();
}

bool ChartsTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Panel6 && event->type() == QEvent::MouseButtonPress)
        CheckBox_GrParClick();
    return QWidget::eventFilter(watched, event);
}

namespace {

const QString kMarkName = QStringLiteral("episodeMark");

// A shaded band over the whole height of `chart` from frame `first` to
// `last`; the chart shows one mark at a time.
void markRange(QCustomPlot* chart, int first, int last)
{
    for (int i = chart->itemCount() - 1; i >= 0; --i)
        if (chart->item(i)->objectName() == kMarkName)
            chart->removeItem(i);
    auto* band = new QCPItemRect(chart);
    band->setObjectName(kMarkName);
    band->setLayer(QStringLiteral("background"));
    band->setPen(QPen(QColor(200, 0, 0), 1));
    band->setBrush(QColor(255, 160, 0, 70));
    for (QCPItemPosition* p : {band->topLeft, band->bottomRight}) {
        p->setTypeX(QCPItemPosition::ptPlotCoords);
        p->setTypeY(QCPItemPosition::ptAxisRectRatio);
    }
    band->topLeft->setCoords(first - 0.5, 0);
    band->bottomRight->setCoords(last + 0.5, 1);
    chart->replot();
}

}  // namespace

void ChartsTab::markFrames(int first, int last)
{
    markRange(Chart_Param, first, last);
    markRange(Chart_KZ, first, last);
}

void ChartsTab::refitTimeAxis()
{
    Chart_Param->rescaleKeyAxis();
    Chart_Param->replot();
}
