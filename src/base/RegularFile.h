#pragma once

#include "base/Failure.h"

#include <cstdio>
#include <string>
#include <string_view>

// Opening user-named files without surprises: a pipe or a device never
// blocks the program, and an output that is one of the inputs is caught.
namespace nkp::fileio {

// Opens `path` for reading if it is a regular file. A FIFO is opened without
// waiting for a writer and refused like a device or a folder. Returns the
// descriptor (blocking reads from then on); a failure's reason is the
// system's cause without the path ("cannot open: No such file or
// directory"), and errno is left set.
Result<int> openRegularFile(const std::string& path);

// The same as a stdio stream ("rb"), which the caller closes.
Result<std::FILE*> openRegularStream(const std::string& path);

// Whether both names lead to one existing file (same device and inode,
// through symbolic and hard links and relative names).
bool sameFile(const std::string& a, const std::string& b);

// Appends `text` and CR LF, each CR or LF inside the text made a space: a
// line end inside a value would cut the line in two.
void appendCrLfLine(std::string& out, std::string_view text);

}  // namespace nkp::fileio
