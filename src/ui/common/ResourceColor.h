#pragma once

#include "analysis/ResourceUse.h"

#include <QColor>

namespace nkp::ui {

// The colour that marks a level of resource use: green, yellow, red; an
// invalid colour for an unknown share. Shared by the main window and the
// fleet overview so that both mark a crane alike.
QColor resourceColor(analysis::ResourceLevel level);

}  // namespace nkp::ui
