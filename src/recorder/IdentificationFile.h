#pragma once

#include "base/Failure.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Identification files (*.inf, Inf/Default.inf): the 13 identification fields
// of a read-out, one per line, Windows-1251, every line ending with CR LF.
// Standard library only.
namespace nkp::device {

inline constexpr std::size_t kInfLineCount = 13;
// A file is read no further than this; the 13 lines of any real file are far shorter.
inline constexpr std::size_t kMaxInfFileSize = 16 * 1024 * 1024;

// Lines 1 to 13, in file order: service organisation, operator, certificate
// number, certificate validity, crane model, crane number, crane year,
// normative group, crane maker, crane owner, limiter model, limiter number,
// controller number. Windows-1251 bytes.
using InfFields = std::array<std::string, kInfLineCount>;

struct InfParseResult {
    InfFields fields;           // the lines found; the others empty
    std::size_t lineCount = 0;  // lines found, at most 13
    bool complete() const { return lineCount == kInfLineCount; }
};

// Splits the file's bytes into lines ending at CR LF, a lone CR or a lone LF;
// text after the last line end counts as a line of its own. Lines after the
// thirteenth are ignored.
InfParseResult parseInf(std::string_view bytes);

// The file's bytes: each field followed by CR LF. Line ends inside a field
// would shift every following line, so they become spaces.
std::string buildInf(const InfFields& fields);

// The file's content; a failure (its reason the system's, without the path)
// when it cannot be opened.
Result<InfParseResult> loadInf(const std::string& path);

// Writes the file safely (temporary file renamed over it). A failure names
// the file and the cause; an old file is then untouched.
Done saveInf(const std::string& path, const InfFields& fields);

}  // namespace nkp::device
