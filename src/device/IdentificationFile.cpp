#include "device/IdentificationFile.h"

#include "fileio/SafeFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

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
    for (const std::string& field : fields) {
        for (char c : field)
            out.push_back(c == '\r' || c == '\n' ? ' ' : c);
        out += "\r\n";
    }
    return out;
}

InfLoadResult loadInf(const std::string& path)
{
    InfLoadResult result;
    // A device or a pipe could block the reading forever.
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec)) {
        result.error = "not a regular file";
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = std::strerror(errno);
        return result;
    }
    result.opened = true;
    std::string bytes;
    std::array<char, 65536> chunk {};
    while (bytes.size() < kMaxInfFileSize && in) {
        in.read(chunk.data(),
            static_cast<std::streamsize>(std::min(chunk.size(), kMaxInfFileSize - bytes.size())));
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    result.content = parseInf(bytes);
    return result;
}

bool saveInf(const std::string& path, const InfFields& fields, std::string* error)
{
    return fileio::writeFileAtomically(path, buildInf(fields), error);
}

}  // namespace nkp::device
