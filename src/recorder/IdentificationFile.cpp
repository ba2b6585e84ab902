#include "recorder/IdentificationFile.h"

#include "base/RegularFile.h"
#include "base/SafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace nkp::device {

InfParseResult parseInf(std::string_view bytes)
{
    InfParseResult result;
    std::size_t pos = 0;
    while (pos < bytes.size() && result.lineCount < kInfLineCount) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        result.fields[result.lineCount++] = std::string(bytes.substr(pos, end - pos));
        if (end == bytes.size())
            pos = end;
        else if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            pos = end + 2;
        else
            pos = end + 1;
    }
    return result;
}

std::string buildInf(const InfFields& fields)
{
    std::string out;
    for (const std::string& field : fields)
        fileio::appendCrLfLine(out, field);
    return out;
}

Result<InfParseResult> loadInf(const std::string& path)
{
    // A device or a pipe could block the reading forever.
    const auto opened = fileio::openRegularStream(path);
    if (!opened)
        return opened.failure();
    std::FILE* in = *opened;
    std::string bytes;
    std::array<char, 65536> chunk {};
    while (bytes.size() < kMaxInfFileSize) {
        const std::size_t got
            = std::fread(chunk.data(), 1, std::min(chunk.size(), kMaxInfFileSize - bytes.size()), in);
        bytes.append(chunk.data(), got);
        if (got == 0)
            break;
    }
    std::fclose(in);
    return parseInf(bytes);
}

Done saveInf(const std::string& path, const InfFields& fields)
{
    return fileio::writeFileAtomically(path, buildInf(fields));
}

}  // namespace nkp::device
