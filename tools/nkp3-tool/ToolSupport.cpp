#include "ToolSupport.h"

#include "analysis/ReadoutLoader.h"
#include "base/Codec.h"
#include "screen/MainStateLoad.h"
#include "screen/StateTexts.h"

#include <clocale>
#include <iostream>

namespace nkp::tool {

std::string visibleControls(std::string_view utf8, bool keepLineEnds)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size());
    auto escape = [&out](unsigned char byte) {
        out += "\\x";
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    };
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const bool lineEnd = c == '\n' || (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n');
        if ((c < 0x20 || c == 0x7F) && !(keepLineEnds && lineEnd)) {
            escape(c);
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80
            && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            escape(static_cast<unsigned char>(utf8[++i]));  // a C1 control character
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void printError(std::string_view utf8)
{
    std::cerr << "nkp3-tool: " << visibleControls(utf8, false) << "\n";
}

std::string terminalText(std::string_view cp1251)
{
    return visibleControls(codec::cp1251ToUtf8(cp1251), false);
}

char localeDecimalSeparator()
{
    const std::lconv* conv = std::localeconv();
    // A multi-byte separator cannot stand in a single-byte number picture.
    if (conv && conv->decimal_point && conv->decimal_point[0] && !conv->decimal_point[1])
        return conv->decimal_point[0];
    return '.';
}

namespace {

// The window's message, without the line break that opens its box; then the
// file and the system's reason.
bool reportLoad(const Done& loaded)
{
    if (loaded)
        return true;
    std::cerr << visibleControls(screen::texts::fileNotOpened().substr(1), false) << "\n"
              << visibleControls(loaded.failure().path + ": " + loaded.failure().reason, false) << "\n";
    return false;
}

}  // namespace

bool loadForTool(const std::string& path, analysis::LoadedReadout& loaded)
{
    return reportLoad(analysis::loadReadout(path, loaded));
}

bool loadForTool(const std::string& path, screen::MainState& state)
{
    return reportLoad(screen::loadReadout(path, localeDecimalSeparator(), state));
}

}  // namespace nkp::tool
