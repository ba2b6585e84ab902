#include "print/PageCanvas.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPrinter>

namespace nkp::print {

void preparePagedDevice(QPagedPaintDevice& device)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    // A printer draws relative to its printable area unless told otherwise.
    if (auto* printer = dynamic_cast<QPrinter*>(&device))
        printer->setFullPage(true);
}

PageCanvas::PageCanvas(QPagedPaintDevice& device)
    : device_(device)
{
    preparePagedDevice(device_);
    if (!painter_.begin(&device_))
        return;
    dpi_ = device_.logicalDpiX() > 0 ? device_.logicalDpiX() : 96;
    painter_.scale(dpi_ / 96.0, device_.logicalDpiY() > 0 ? device_.logicalDpiY() / 96.0 : dpi_ / 96.0);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

PageCanvas::~PageCanvas()
{
    if (painter_.isActive())
        painter_.end();
}

void PageCanvas::newPage()
{
    device_.newPage();
}

QFont PageCanvas::font(FontFace face, FontStyle style) const
{
    return pageFont(face, style, dpi_);
}

double PageCanvas::textWidth(const QFont& font, const QString& text) const
{
    return QFontMetricsF(font, &device_).horizontalAdvance(text);
}

double PageCanvas::lineHeight(const QFont& font) const
{
    return QFontMetricsF(font, &device_).height();
}

void PageCanvas::text(const QRectF& box, int flags, const QString& text, const QFont& font)
{
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    painter_.drawText(box, flags | Qt::TextSingleLine, text);
}

double PageCanvas::textAt(double x, double y, const QString& text, const QFont& font)
{
    const double width = textWidth(font, text);
    this->text(QRectF(x, y, width + 1, lineHeight(font)), Qt::AlignLeft | Qt::AlignTop, text, font);
    return width;
}

void drawPageFooter(PageCanvas& canvas, double left, double right, double top, const QString& title, int page)
{
    const QFont font = canvas.font(FontFace::Arial, {8, false, true});
    QPainter& p = canvas.painter();
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(left, top), QPointF(right, top));
    const QRectF box(left, top + 4, right - left, canvas.lineHeight(font));
    canvas.text(box, Qt::AlignLeft | Qt::AlignTop, title, font);
    canvas.text(box, Qt::AlignRight | Qt::AlignTop, QStringLiteral("Страница %1").arg(page), font);
}

}  // namespace nkp::print
