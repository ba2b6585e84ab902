#include "ToolSupport.h"

#include "analysis/ReadoutLoader.h"
#include "analysis/StateTexts.h"
#include "codec/Codec.h"

#include <clocale>
#include <iostream>

namespace nkp::tool {

std::string terminalText(std::string_view cp1251)
{
    return codec::cp1251ToUtf8(cp1251);
}

char localeDecimalSeparator()
{
    const std::lconv* conv = std::localeconv();
    // A multi-byte separator cannot stand in a single-byte number picture.
    if (conv && conv->decimal_point && conv->decimal_point[0] && !conv->decimal_point[1])
        return conv->decimal_point[0];
    return '.';
}

bool loadForTool(const std::string& path, analysis::MainState& state)
{
    if (analysis::loadReadout(path, localeDecimalSeparator(), state))
        return true;
    // The window's message, without the line break that opens its box.
    std::cerr << terminalText(std::string_view(analysis::texts::fileNotOpened()).substr(1)) << "\n";
    return false;
}

}  // namespace nkp::tool
