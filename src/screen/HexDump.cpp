#include "screen/HexDump.h"

namespace nkp::screen {

std::string hexDump(const std::vector<std::uint8_t>& bytes, std::size_t baseOffset)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t line = 0; line < bytes.size(); line += 16) {
        if (line != 0)
            text += '\n';
        const std::string offset = std::to_string(baseOffset + line);
        if (offset.size() < 6)
            text.append(6 - offset.size(), ' ');
        text += offset;
        text += "  ";
        std::string ascii;
        for (std::size_t i = line; i < line + 16; ++i) {
            if (i < bytes.size()) {
                text += kDigits[bytes[i] >> 4];
                text += kDigits[bytes[i] & 0x0F];
                text += ' ';
                ascii += bytes[i] >= 32 && bytes[i] < 127 ? static_cast<char>(bytes[i]) : '.';
            } else {
                text += "   ";
            }
        }
        text += ' ';
        text += ascii;
    }
    return text;
}

}  // namespace nkp::screen
