#pragma once

#include "print/PrintFonts.h"

#include <QPainter>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;

// A painter on a paged device (printer, preview, PDF writer) that draws in
// the layouts' units: 1/96 inch, the origin at the paper's top left corner,
// an A4 portrait page 794 by 1123 units.
namespace nkp::print {

inline constexpr double kPageWidth = 793.7;
inline constexpr double kPageHeight = 1122.5;

// Units of `mm` millimetres.
constexpr double mm(double millimetres)
{
    return millimetres * 96.0 / 25.4;
}

// A4 portrait without device margins: the layouts place everything themselves.
void preparePagedDevice(QPagedPaintDevice& device);

class PageCanvas {
public:
    // Prepares the device and begins painting on its first page.
    explicit PageCanvas(QPagedPaintDevice& device);
    ~PageCanvas();
    PageCanvas(const PageCanvas&) = delete;
    PageCanvas& operator=(const PageCanvas&) = delete;

    bool isActive() const { return painter_.isActive(); }
    QPainter& painter() { return painter_; }
    void newPage();
    // Ends painting; false when the device could not finish the document.
    bool finish() { return painter_.isActive() && painter_.end(); }

    QFont font(FontFace face, FontStyle style) const;
    double textWidth(const QFont& font, const QString& text) const;
    double lineHeight(const QFont& font) const;

    // Draws `text` in one line inside `box` aligned by `flags` (Qt::Align*).
    void text(const QRectF& box, int flags, const QString& text, const QFont& font);
    // Draws `text` with its top left corner at (x, y); returns its width.
    double textAt(double x, double y, const QString& text, const QFont& font);

private:
    QPagedPaintDevice& device_;
    QPainter painter_;
    int dpi_ = 96;
};

// A page's footer between `left` and `right` from `top` down: a rule, the
// document's name on the left and "Страница N" on the right.
void drawPageFooter(
    PageCanvas& canvas, double left, double right, double top, const QString& title, int page);

}  // namespace nkp::print
