#pragma once

#include <QString>

namespace nkp::print {

class PageCanvas;

// "Информацию подтверждаю" with the signature line and the person's name in
// its parentheses, and the date line under it; `top` is the first line's top.
void drawSignatureBlock(PageCanvas& canvas, double left, double top, const QString& name);

}  // namespace nkp::print
