#include "print/PageFlow.h"

namespace nkp::print {

PageFlow::PageFlow(PageCanvas& canvas, QString footerTitle)
    : canvas_(canvas)
    , body_(canvas.font(FontFace::Arial, {7, false, false}))
    , bold_(canvas.font(FontFace::Arial, {7, true, false}))
    , row_(canvas.lineHeight(body_) + 2 * kCellPad)
    , footerTitle_(std::move(footerTitle))
{
}

void PageFlow::startPage()
{
    if (page_ > 0) {
        drawFooter();
        canvas_.newPage();
    }
    ++page_;
    y_ = kTop;
    drawHeading();
}

bool PageFlow::ensureRoom(double height)
{
    if (y_ + height <= kBottom - kFooterHeight - 6)
        return false;
    startPage();
    return true;
}

void PageFlow::title(const QString& text)
{
    const QFont font = canvas_.font(FontFace::Arial, {10, true, false});
    ensureRoom(canvas_.lineHeight(font) + 3 * row_);
    y_ += 6;
    canvas_.text(QRectF(kLeft, y_, kRight - kLeft, canvas_.lineHeight(font)), Qt::AlignLeft | Qt::AlignTop,
        text, font);
    y_ += canvas_.lineHeight(font) + 4;
}

void PageFlow::drawFooter()
{
    drawPageFooter(canvas_, kLeft, kRight, kBottom - kFooterHeight, footerTitle_, page_);
}

}  // namespace nkp::print
