#pragma once

#include "base/Failure.h"

#include <cstdio>
#include <string>
#include <string_view>

// Safe replacement of files. Every output of the programs is written to a
// temporary file beside its target and renamed over the target only once
// everything was written, so that a failure never leaves a damaged file.
namespace nkp::fileio {

// A temporary file that will replace a target file. The target is the file
// a symbolic link names (the link itself stays); it must be a regular file
// with write permission if it exists. The replacement gets the mode of the
// file it replaces (a new file: what the umask allows).
class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Before open(): the replacement gets exactly `mode` (e.g. 0600 for a
    // private key), from its creation on, whatever the target had.
    void setMode(unsigned mode) { forcedMode_ = mode; }

    // Checks the target and creates the temporary file. A failure's cause
    // is English and names the file.
    Done open(const std::string& path);

    // A stdio stream on the temporary file (made on first use; it owns the
    // descriptor from then on). Null before open() or when fdopen failed.
    std::FILE* stream();
    int descriptor() const { return fd_; }
    const std::string& temporaryPath() const { return temporary_; }
    // The file the replacement goes to, after symbolic links.
    const std::string& targetPath() const { return target_; }
    bool targetExisted() const { return targetExisted_; }

    // Flushes the temporary file to disk and renames it over the target.
    // Any failure (also an earlier write error on the stream) removes the
    // temporary file and leaves the target as it was.
    Done commit();
    // Removes the temporary file; the target stays as it was.
    void discard();

private:
    Failure fail(const std::string& what, int err) const;
    bool closeFile();

    std::string path_;
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    std::FILE* stream_ = nullptr;
    bool targetExisted_ = false;
    unsigned mode_ = 0;
    int forcedMode_ = -1;
    bool haveOwner_ = false;
    unsigned uid_ = 0, gid_ = 0;
};

// Writes `content` to `path` through a ReplacementFile. On failure the old
// file (if any) is left untouched, the temporary file is removed, and the
// cause (English, naming the file) is returned.
Done writeFileAtomically(const std::string& path, std::string_view content);
// The same through a prepared (not yet opened) ReplacementFile, e.g. one
// with a mode of its own.
Done writeThrough(ReplacementFile& file, const std::string& path, std::string_view content);

}  // namespace nkp::fileio
