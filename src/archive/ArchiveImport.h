#pragma once

#include "archive/Archive.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

// Adding many data files to the archive: each file in a transaction of its
// own, read and compressed in a thread pool, written one after another.
namespace nkp::archive {

struct ImportProblem {
    std::string path;
    std::string reason;  // Russian
};

struct ImportReport {
    int added = 0;
    int alreadyThere = 0;
    int unreadable = 0;
    // Images in the archive already under another crane's identification:
    // one problem each, the reason "тот же образ памяти уже в архиве как …".
    int otherCrane = 0;
    std::vector<ImportProblem> sameImages;
    std::vector<ImportProblem> problems;  // one per unreadable file
    bool writeFailed = false;             // the archive could not be written; the rest was not tried
    std::string writeError;
    bool cancelled = false;
};

// The files named, and every *.nkp below the folders named (recursively),
// in a stable order; names that are neither go to `missing`.
std::vector<std::string> collectImportFiles(
    const std::vector<std::string>& paths, std::vector<ImportProblem>* missing);

// Imports `files`; `progress(done, total)` after each. A set `cancel` stops
// after the file in hand.
ImportReport importFiles(Archive& archive, const std::vector<std::string>& files,
    const std::function<void(int, int)>& progress = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace nkp::archive
