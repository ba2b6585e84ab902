#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The files a run reads: no output may replace one of them. A process-wide
// registry of input files, consulted by ReplacementFile::open before it
// touches anything. An entry holds the file's device and inode (when it
// exists) and its absolute path with symbolic links resolved, so that a hard
// link, a symbolic link or another spelling of the name is recognised, and a
// file that does not exist yet (an SQLite journal) is matched by its name.
namespace nkp::fileio {

// Registers paths as inputs for its lifetime. Entries are counted, so
// scopes may nest and overlap: a file stays an input while any scope holds it.
// Thread-safe; movable, not copyable.
class InputScope {
public:
    InputScope() = default;
    explicit InputScope(const std::vector<std::string>& paths);
    ~InputScope();
    InputScope(InputScope&& other) noexcept;
    InputScope& operator=(InputScope&& other) noexcept;
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;

    // Adds `path` (an empty one is ignored).
    void add(const std::string& path);
    // Forgets every path of this scope.
    void clear();

private:
    std::vector<std::uint64_t> entries_;
};

// From now on every file opened through openRegularFile/openRegularStream
// (and every path an InputScope registers) stays an input until the process
// ends. A command-line run turns this on:
// whatever a command reads, none of its outputs may replace it.
void recordOpenedInputs(bool on);
// Called by the readers: registers `path` for good when recording is on.
void noteOpenedInput(const std::string& path);

// The registered input that `target` (followed through symbolic links) is,
// as it was given when registered; nothing when it is none.
std::optional<std::string> inputMatching(const std::string& target);
inline bool isInput(const std::string& target)
{
    return inputMatching(target).has_value();
}

}  // namespace nkp::fileio
