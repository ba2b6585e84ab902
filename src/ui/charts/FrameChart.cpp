#include "ui/charts/FrameChart.h"

#include "ui/common/UiText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr int kMarkerSize = 7;
constexpr int kDragThreshold = 3;  // pixels the mouse may shake during a click

QColor toQColor(nkp::screen::Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

// Pre-drawn circle marker: blitting a pixmap is much cheaper than painting
// thousands of ellipses.
QPixmap circleMarker(const QColor& color)
{
    QPixmap pixmap(kMarkerSize, kMarkerSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color.darker(130), 1));
    painter.setBrush(color);
    painter.drawEllipse(QRectF(0.5, 0.5, kMarkerSize - 1.0, kMarkerSize - 1.0));
    return pixmap;
}

}  // namespace

FrameChart::FrameChart(const QString& title, QWidget* parent)
    : QCustomPlot(parent)
{
    plotLayout()->insertRow(0);
    title_ = new QCPTextElement(this, title, QFont(font().family(), 9, QFont::Bold));
    plotLayout()->addElement(0, 0, title_);
    setNotAntialiasedElements(QCP::aePlottables | QCP::aeGrid | QCP::aeAxes);
    setPlottingHint(QCP::phFastPolylines, true);
    setPlottingHint(QCP::phCacheLabels, true);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    // x is a frame position: ticks on whole frames only, labels without decimals.
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setTickStep(1);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    xAxis->setTicker(ticker);
    xAxis->setNumberFormat(QStringLiteral("f"));
    xAxis->setNumberPrecision(0);
    setMouseTracking(true);  // for the hover tooltip
    xAxis->setRange(0, 100);
    yAxis->setRange(0, 100);
}

void FrameChart::setTitle(const QString& title)
{
    title_->setText(title);
}

QString FrameChart::title() const
{
    return title_->text();
}

void FrameChart::addGraph(
    const QString& id, const QString& name, QColor color, bool points, const QVector<QCPGraphData>& data)
{
    QCPGraph* graph = QCustomPlot::addGraph();
    graph->setObjectName(id);
    graph->setName(name);
    graph->setPen(QPen(color, 1));
    if (points) {
        graph->setLineStyle(QCPGraph::lsNone);
        graph->setScatterStyle(QCPScatterStyle(circleMarker(color)));
    }
    graph->data()->set(data, true);
    graphs_[id].append(graph);
}

void FrameChart::setSeries(
    const std::vector<nkp::screen::SeriesData>& series, const QSet<QString>& pointSeries)
{
    clearGraphs();
    clearItems();
    graphs_.clear();
    labels_.clear();
    for (const nkp::screen::SeriesData& s : series) {
        const QString id = QString::fromStdString(s.id);
        const QString name = nkp::ui::fromCp1251(s.title);
        const bool points = pointSeries.contains(id);
        const std::size_t n = std::min(s.x.size(), s.y.size());
        if (s.pointColors.size() == n && n > 0) {
            // One graph per colour; later graphs are drawn over earlier ones,
            // so the series' colour layers come first, bottom to top, then
            // any other colour in the order it first appears.
            std::vector<nkp::screen::Rgb> order = s.colorLayers;
            std::map<int, QVector<QCPGraphData>> byColour;
            for (std::size_t i = 0; i < n; ++i) {
                const nkp::screen::Rgb c = s.pointColors[i];
                const int key = (c.r << 16) | (c.g << 8) | c.b;
                if (std::find(order.begin(), order.end(), c) == order.end())
                    order.push_back(c);
                byColour[key].append(QCPGraphData(s.x[i], s.y[i]));
            }
            std::erase_if(order, [&byColour](const nkp::screen::Rgb& c) {
                return !byColour.count((c.r << 16) | (c.g << 8) | c.b);
            });
            for (const nkp::screen::Rgb& c : order)
                addGraph(id, name, toQColor(c), points, byColour[(c.r << 16) | (c.g << 8) | c.b]);
        } else {
            QVector<QCPGraphData> data(static_cast<qsizetype>(n));
            for (std::size_t i = 0; i < n; ++i)
                data[static_cast<qsizetype>(i)] = QCPGraphData(s.x[i], s.y[i]);
            addGraph(id, name, toQColor(s.color), points, data);
        }
        for (std::size_t i = 0; i < s.labels.size() && i < n; ++i) {
            auto* label = new QCPItemText(this);
            label->setObjectName(id);
            label->position->setCoords(s.x[i], s.y[i]);
            // The label starts at its point: a date holds from there on.
            label->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
            label->setPadding(QMargins(2, 0, 2, 0));
            label->setText(nkp::ui::fromCp1251(s.labels[i]));
            label->setFont(QFont(font().family(), 7));
            label->setPen(QPen(Qt::gray));
            label->setBrush(QColor(255, 255, 225));
            label->setClipToAxisRect(true);
            labels_[id].append(label);
        }
    }
    rescaleKeyAxis();
    rescaleValueAxis();
}

void FrameChart::setSeriesVisible(const QString& id, bool visible)
{
    for (QCPGraph* g : graphs_.value(id))
        g->setVisible(visible);
    for (QCPItemText* t : labels_.value(id))
        t->setVisible(visible);
}

bool FrameChart::isSeriesVisible(const QString& id) const
{
    const QList<QCPGraph*> graphs = graphs_.value(id);
    return !graphs.isEmpty() && graphs.constFirst()->visible();
}

void FrameChart::setFixedValueRange(double lower, double upper)
{
    fixedValueRange_ = QCPRange(lower, upper);
    yAxis->setRange(*fixedValueRange_);
}

std::optional<QCPRange> FrameChart::keyRange() const
{
    std::optional<QCPRange> range;
    for (int i = 0; i < graphCount(); ++i) {
        bool ok = false;
        const QCPRange r = graph(i)->getKeyRange(ok);
        if (ok)
            range = range ? range->expanded(r) : r;
    }
    return range;
}

void FrameChart::rescaleKeyAxis()
{
    if (const std::optional<QCPRange> range = keyRange())
        xAxis->setRange(range->lower, std::max(range->upper, range->lower + 1));
}

void FrameChart::rescaleValueAxis()
{
    if (fixedValueRange_) {
        yAxis->setRange(*fixedValueRange_);
        return;
    }
    bool found = false;
    QCPRange range(0, 1);
    for (int i = 0; i < graphCount(); ++i) {
        if (!graph(i)->visible())
            continue;
        bool ok = false;
        const QCPRange r = graph(i)->getValueRange(ok);
        if (ok)
            range = found ? QCPRange(std::min(range.lower, r.lower), std::max(range.upper, r.upper)) : r;
        found = found || ok;
    }
    // A little room below zero and above the top, so that points on the axis
    // lines stay visible and clickable.
    const double span = std::max(range.upper - range.lower, 1.0);
    yAxis->setRange(range.lower - span * 0.04, range.upper + span * 0.04);
}

std::optional<double> FrameChart::pointXAt(const QPointF& pos) const
{
    // Markers win over lines: a marker is one frame, while a line of 11000
    // points packs a dozen frames into every pixel. Among equals the graph
    // drawn on top wins.
    std::optional<double> best;
    bool bestIsMarker = false;
    double bestDistance = selectionTolerance();
    for (int i = graphCount() - 1; i >= 0; --i) {
        QCPGraph* g = graph(i);
        if (!g->visible() || g->data()->isEmpty())
            continue;
        const bool marker = g->lineStyle() == QCPGraph::lsNone;
        if (bestIsMarker && !marker)
            continue;
        QVariant details;
        const double d = g->selectTest(pos, false, &details);
        if (d < 0 || d > selectionTolerance() || (marker == bestIsMarker && best && d >= bestDistance))
            continue;
        const QCPDataSelection selection = details.value<QCPDataSelection>();
        if (selection.isEmpty())
            continue;
        const int index = selection.dataRange().begin();
        if (index < 0 || index >= g->data()->size())
            continue;
        bestDistance = d;
        bestIsMarker = marker;
        best = g->data()->at(index)->key;
    }
    return best;
}

QString FrameChart::toolTipAt(const QPointF& pos) const
{
    if (!axisRect()->rect().contains(pos.toPoint()))
        return {};
    const int position = qRound(xAxis->pixelToCoord(pos.x()));
    const QString stamp = frameStamp_ ? frameStamp_(position) : QString();
    const QString frame = QStringLiteral("Кадр %1").arg(position);
    return stamp.isEmpty() ? frame : frame + QLatin1Char('\n') + stamp;
}

void FrameChart::mousePressEvent(QMouseEvent* event)
{
    pressPos_ = event->position();
    dragged_ = false;
    QToolTip::hideText();
    QCustomPlot::mousePressEvent(event);
}

void FrameChart::mouseMoveEvent(QMouseEvent* event)
{
    QCustomPlot::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton) {
        const bool moved = (event->position() - pressPos_).manhattanLength() > kDragThreshold;
        dragged_ = dragged_ || ((event->buttons() & Qt::LeftButton) && moved);
        return;
    }
    const QString text = toolTipAt(event->position());
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
}

void FrameChart::mouseReleaseEvent(QMouseEvent* event)
{
    QCustomPlot::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || dragged_
        || (event->position() - pressPos_).manhattanLength() > kDragThreshold)
        return;
    if (const std::optional<double> x = pointXAt(event->position()))
        emit pointClicked(*x);
}

void FrameChart::wheelEvent(QWheelEvent* event)
{
    // As the axis rect zooms, around the mouse and on x only, but with a
    // queued replot: a fast wheel then costs one render per frame.
    if (!interactions().testFlag(QCP::iRangeZoom)) {
        QCustomPlot::wheelEvent(event);
        return;
    }
    const double steps = event->angleDelta().y() / 120.0;
    const double factor = std::pow(axisRect()->rangeZoomFactor(Qt::Horizontal), steps);
    xAxis->scaleRange(factor, xAxis->pixelToCoord(event->position().x()));
    replot(QCustomPlot::rpQueuedReplot);
    event->accept();
}
