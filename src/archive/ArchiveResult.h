#pragma once

#include "base/Failure.h"

namespace nkp::archive {

// The archive's calls answer with the program's one result type: a value,
// or the failure that kept it from being made (`reason` Russian,
// ArchiveText.h; `path` the archive's location when known).
using nkp::Result;

}  // namespace nkp::archive
