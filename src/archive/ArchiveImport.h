#pragma once

#include "archive/Archive.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Adding many data files to the archive: each file in a transaction of its
// own, read and compressed in a thread pool, written one after another.
namespace nkp::archive {

struct ImportReport {
    int added = 0;
    int alreadyThere = 0;
    int unreadable = 0;
    // Images in the archive already under another crane's identification:
    // one each, the reason "тот же образ памяти уже в архиве как …".
    int otherCrane = 0;
    std::vector<Failure> sameImages;
    std::vector<Failure> problems;  // one per unreadable file: its path and the cause (Russian)
    // Set when the archive could not be written; the rest was not tried.
    std::optional<Failure> writeFailure;
    bool cancelled = false;
};

// The files named, and every *.nkp below the folders named (recursively),
// in a stable order; names that are neither go to `missing`.
std::vector<std::string> collectImportFiles(
    const std::vector<std::string>& paths, std::vector<Failure>* missing);

// Imports `files`; `progress(done, total)` after each. A set `cancel` stops
// after the file in hand.
ImportReport importFiles(Archive& archive, const std::vector<std::string>& files,
    const std::function<void(int, int)>& progress = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace nkp::archive
