#pragma once

#include "analysis/MainState.h"

#include <string>
#include <string_view>

// Helpers shared by the commands: loading, terminal text and locale.
namespace nkp::tool {

// Windows-1251 text of the core to UTF-8 for the terminal.
std::string terminalText(std::string_view cp1251);

// The decimal separator of the current C locale (set from the environment by main()).
char localeDecimalSeparator();

// Loads a read-out with the locale's decimal separator. When the file cannot
// be opened, prints the open failure message on stderr and returns false.
bool loadForTool(const std::string& path, analysis::MainState& state);

}  // namespace nkp::tool
