#pragma once

#include "base/UserPrompts.h"

class TForm_TPB140CMain;

namespace nkp::ui {

// "Экспорт кадров в CSV...": asks for a file and writes the frames of the
// window's current FrameOrder (all frames, or the current selection) as the
// frames CSV in the spreadsheet form (BOM, CR LF), safely, and says where.
// A cancelled dialog writes nothing; a failed write shows an error box.
// Returns true when a file was written.
bool exportFramesCsv(TForm_TPB140CMain& window, UserPrompts& prompts);

}  // namespace nkp::ui
