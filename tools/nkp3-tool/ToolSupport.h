#pragma once

#include "analysis/LoadedReadout.h"
#include "screen/MainState.h"

#include <string>
#include <string_view>

// Helpers shared by the commands: loading, terminal text and locale.
namespace nkp::tool {

// Shows the control characters of UTF-8 text as "\x1b": a text from a file,
// a file name or a database row must not move the cursor, retitle or clear
// the terminal, nor write its clipboard. Every text a command prints passes
// through it. With `keepLineEnds` LF and CR LF stay.
std::string visibleControls(std::string_view utf8, bool keepLineEnds);

// Prints "nkp3-tool: MESSAGE" on stderr, the message (UTF-8, one line, often
// quoting a path or a database text) with its controls visible.
void printError(std::string_view utf8);

// Windows-1251 text of the core to UTF-8 for the terminal, controls visible.
std::string terminalText(std::string_view cp1251);

// The decimal separator of the current C locale (set from the environment by main()).
char localeDecimalSeparator();

// Loads a read-out (a MainState with the locale's decimal separator). When the file cannot
// be opened, prints the open failure message on stderr, the file name and
// the cause on the next line, and returns false.
// The MainState one for the commands that show what the window shows (its
// keys, forms, printouts).
bool loadForTool(const std::string& path, analysis::LoadedReadout& loaded);
bool loadForTool(const std::string& path, screen::MainState& state);

}  // namespace nkp::tool
