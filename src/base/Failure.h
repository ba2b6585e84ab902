#pragma once

#include <string>

namespace nkp {

// What went wrong with which file: the path as the file system names it and
// the cause in English (as the system or the safe writer gives it).
struct Failure {
    std::string path;
    std::string reason;

    // "path: reason", or the reason alone when no file is concerned. A cause
    // that already names the file (the safe writer's do) is not prefixed again.
    std::string text() const;
};

}  // namespace nkp
