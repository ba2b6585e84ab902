#pragma once

#include "device/DeviceReader.h"

#include <QColor>

namespace nkp::ui {

// The reading window's status bar colour for a phase of the reading: the
// button face while searching and after a failure or a cancel, red while the
// image comes in, yellow while its checksum is computed (and when it does not
// match), green when the reading succeeded.
QColor readingPhaseColour(nkp::device::ReadingPhase phase, const QColor& buttonFace);

}  // namespace nkp::ui
