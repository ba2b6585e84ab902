#pragma once

#include "base/UserPrompts.h"
#include "screen/MainState.h"

#include <QString>

namespace nkp::ui {

// "Экспорт кадров в CSV...": asks for a file (in the loaded file's folder,
// else `startDirectory`) and writes the frames of the current FrameOrder (all frames, or the current
// selection) as the frames CSV in the spreadsheet form (BOM, CR LF), safely, and says where. A cancelled
// dialog writes nothing; a failed write shows an error box. Returns true when a file was written.
bool exportFramesCsv(const screen::MainState& state, const QString& startDirectory, char decimalSeparator,
    UserPrompts& prompts);

}  // namespace nkp::ui
