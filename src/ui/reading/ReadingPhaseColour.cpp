#include "ui/reading/ReadingPhaseColour.h"

namespace nkp::ui {

QColor readingPhaseColour(nkp::device::ReadingPhase phase, const QColor& buttonFace)
{
    using nkp::device::ReadingPhase;
    switch (phase) {
    case ReadingPhase::Transferring:
        return QColor(255, 0, 0);
    case ReadingPhase::Checking:
    case ReadingPhase::ChecksumMismatch:
        return QColor(255, 255, 0);
    case ReadingPhase::Done:
        return QColor(0, 128, 0);
    case ReadingPhase::Searching:
    case ReadingPhase::Failed:
    case ReadingPhase::Cancelled:
        break;
    }
    return buttonFace;
}

}  // namespace nkp::ui
