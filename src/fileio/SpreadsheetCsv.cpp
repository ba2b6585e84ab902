#include "fileio/SpreadsheetCsv.h"

#include "fileio/SafeFileWriter.h"

namespace nkp::fileio {

bool writeSpreadsheetCsv(const std::string& path, std::string_view csv, std::string* error)
{
    std::string bytes;
    bytes.reserve(kUtf8Bom.size() + csv.size());
    bytes += kUtf8Bom;
    bytes += csv;
    return writeFileAtomically(path, bytes, error);
}

}  // namespace nkp::fileio
