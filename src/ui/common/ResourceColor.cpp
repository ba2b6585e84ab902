#include "ui/common/ResourceColor.h"

namespace nkp::ui {

QColor resourceColor(analysis::ResourceLevel level)
{
    // Light tones: black text stays readable on each of them.
    switch (level) {
    case analysis::ResourceLevel::Green:
        return QColor(0x90, 0xEE, 0x90);
    case analysis::ResourceLevel::Yellow:
        return QColor(0xFF, 0xE0, 0x40);
    case analysis::ResourceLevel::Red:
        return QColor(0xFF, 0x70, 0x70);
    case analysis::ResourceLevel::Unknown:
        break;
    }
    return {};
}

}  // namespace nkp::ui
