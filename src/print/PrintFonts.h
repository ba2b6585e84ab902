#pragma once

#include <QFont>
#include <QStringList>

// The printouts ask for their Windows fonts by name; where a
// font is missing (any Linux desktop) a metric-compatible free font with
// Cyrillic takes its place.
namespace nkp::print {

enum class FontFace { Arial, CourierNew, MsSansSerif };

struct FontStyle {
    double points = 10;
    bool bold = false;
    bool italic = false;
};

// The font of `face` and `style` for a painter whose device has `deviceDpi`
// logical dots per inch but that draws in page units of 1/96 inch (see
// PageCanvas): the size is corrected so that the type has its size on paper.
QFont pageFont(FontFace face, FontStyle style, int deviceDpi);

// The family list asked for, the Windows name first.
QStringList fontFamilies(FontFace face);

}  // namespace nkp::print
