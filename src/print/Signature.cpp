#include "print/Signature.h"

#include "print/CardTexts.h"
#include "print/PageCanvas.h"

namespace nkp::print {

void drawSignatureBlock(PageCanvas& canvas, double left, double top, const QString& name)
{
    const QFont bold = canvas.font(FontFace::Arial, {10, true, false});
    const QFont regular = canvas.font(FontFace::Arial, {10, false, false});
    const QFont nameFont = canvas.font(FontFace::Arial, {9, true, false});

    const double lineLeft
        = left + canvas.textAt(left, top, QStringLiteral("Информацию подтверждаю"), bold) + 16;
    canvas.textAt(lineLeft, top, signatureLine(), regular);

    // The name sits centred between the parentheses.
    const double inner = lineLeft + canvas.textWidth(regular, signatureLineBeforeName());
    const double innerWidth = canvas.textWidth(regular, QString(54, QLatin1Char(' ')));
    canvas.text(QRectF(inner, top, innerWidth, canvas.lineHeight(regular)),
        Qt::AlignHCenter | Qt::AlignVCenter, name, nameFont);

    canvas.textAt(lineLeft, top + 2.2 * canvas.lineHeight(regular), signatureDateLine(), regular);
}

}  // namespace nkp::print
