#include "print/PrintFonts.h"

namespace nkp::print {

QStringList fontFamilies(FontFace face)
{
    switch (face) {
    case FontFace::CourierNew:
        return {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
            QStringLiteral("DejaVu Sans Mono")};
    case FontFace::MsSansSerif:
        return {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
            QStringLiteral("DejaVu Sans")};
    case FontFace::Arial:
        break;
    }
    return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
}

QFont pageFont(FontFace face, FontStyle style, int deviceDpi)
{
    QFont font;
    font.setFamilies(fontFamilies(face));
    font.setStyleHint(face == FontFace::CourierNew ? QFont::TypeWriter : QFont::SansSerif);
    if (face == FontFace::CourierNew)
        font.setFixedPitch(true);
    // The painter is scaled from device dots to 1/96 inch, and Qt turns points
    // into device dots before that scale applies: undo it once.
    const double dpi = deviceDpi > 0 ? deviceDpi : 96;
    font.setPointSizeF(style.points * 96.0 / dpi);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setKerning(false);
    return font;
}

}  // namespace nkp::print
