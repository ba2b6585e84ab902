// libFuzzer target for the identification file reader: any bytes must give at
// most 13 lines without line ends, and writing them back must read the same.
#include "recorder/IdentificationFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const nkp::device::InfParseResult parsed = nkp::device::parseInf(bytes);
    if (parsed.lineCount > nkp::device::kInfLineCount)
        std::abort();
    std::size_t total = 0;
    for (const std::string& field : parsed.fields) {
        if (field.find_first_of("\r\n") != std::string::npos)
            std::abort();
        total += field.size();
    }
    if (total > size)
        std::abort();
    const nkp::device::InfParseResult again = nkp::device::parseInf(nkp::device::buildInf(parsed.fields));
    if (!again.complete() || again.fields != parsed.fields)
        std::abort();
    return 0;
}
