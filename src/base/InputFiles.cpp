#include "base/InputFiles.h"

#include <atomic>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>

namespace nkp::fileio {
namespace {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> fileId(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileId {st.st_dev, st.st_ino};
}

// The absolute name with every symbolic link of its existing part resolved;
// the part that does not exist yet is only made tidy.
std::string resolvedName(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec)
        return path;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, ec);
    return (ec ? absolute.lexically_normal() : resolved).string();
}

struct Entry {
    std::uint64_t key = 0;
    int uses = 0;
    std::string given;
    std::string resolved;
    std::optional<FileId> id;
};

class Registry {
public:
    std::uint64_t add(const std::string& path)
    {
        std::string resolved = resolvedName(path);
        const std::optional<FileId> id = fileId(path);
        const std::lock_guard lock(mutex_);
        for (Entry& e : entries_)
            if (e.resolved == resolved && e.id == id) {
                ++e.uses;
                return e.key;
            }
        entries_.push_back({++lastKey_, 1, path, std::move(resolved), id});
        return lastKey_;
    }

    void release(std::uint64_t key)
    {
        const std::lock_guard lock(mutex_);
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (it->key == key) {
                if (--it->uses == 0)
                    entries_.erase(it);
                return;
            }
    }

    std::optional<std::string> matching(const std::string& target)
    {
        const std::string resolved = resolvedName(target);
        const std::optional<FileId> id = fileId(target);
        const std::lock_guard lock(mutex_);
        for (Entry& e : entries_) {
            if (e.resolved == resolved)
                return e.given;
            if (!id)
                continue;
            // A file that did not exist when it was registered may exist now.
            const std::optional<FileId> inputId = e.id ? e.id : fileId(e.resolved);
            if (inputId == id)
                return e.given;
        }
        return std::nullopt;
    }

private:
    std::mutex mutex_;
    std::vector<Entry> entries_;
    std::uint64_t lastKey_ = 0;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

std::atomic<bool> recording {false};

}  // namespace

InputScope::InputScope(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        add(path);
}

InputScope::~InputScope()
{
    clear();
}

InputScope::InputScope(InputScope&& other) noexcept
    : entries_(std::move(other.entries_))
{
    other.entries_.clear();
}

InputScope& InputScope::operator=(InputScope&& other) noexcept
{
    if (this != &other) {
        clear();
        entries_ = std::move(other.entries_);
        other.entries_.clear();
    }
    return *this;
}

void InputScope::add(const std::string& path)
{
    if (path.empty())
        return;
    entries_.push_back(registry().add(path));
    // A run that records its inputs keeps this one beyond the scope.
    noteOpenedInput(path);
}

void InputScope::clear()
{
    for (const std::uint64_t key : entries_)
        registry().release(key);
    entries_.clear();
}

void recordOpenedInputs(bool on)
{
    recording = on;
}

void noteOpenedInput(const std::string& path)
{
    if (recording && !path.empty())
        registry().add(path);
}

std::optional<std::string> inputMatching(const std::string& target)
{
    if (target.empty())
        return std::nullopt;
    return registry().matching(target);
}

}  // namespace nkp::fileio
