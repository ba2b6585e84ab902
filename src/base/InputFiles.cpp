#include "base/InputFiles.h"

#include <atomic>
#include <compare>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unordered_map>
#include <utility>

namespace nkp::fileio {
namespace {

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const FileId&) const = default;
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
    int uses = 0;
    std::string given;
    std::string resolved;
    std::optional<FileId> id;
};

// The entries by key (keys grow with each new entry, so the smallest is the
// one registered first), found by their resolved name and by the file they
// were (device and inode); a file that did not exist when it was registered
// is looked for again by its name at every check.
class Registry {
public:
    std::uint64_t add(const std::string& path)
    {
        std::string resolved = resolvedName(path);
        const std::optional<FileId> id = fileId(path);
        const std::lock_guard lock(mutex_);
        const auto [known, added] = byNameAndFile_.try_emplace({resolved, id}, lastKey_ + 1);
        if (!added) {
            ++entries_.at(known->second).uses;
            return known->second;
        }
        const std::uint64_t key = ++lastKey_;
        byName_[resolved].insert(key);
        if (id)
            byFile_[*id].insert(key);
        else
            notThen_.insert(key);
        entries_.emplace(key, Entry {1, path, std::move(resolved), id});
        return key;
    }

    void release(std::uint64_t key)
    {
        const std::lock_guard lock(mutex_);
        const auto it = entries_.find(key);
        if (it == entries_.end() || --it->second.uses > 0)
            return;
        const Entry& e = it->second;
        byNameAndFile_.erase({e.resolved, e.id});
        forget(byName_, e.resolved, key);
        if (e.id)
            forget(byFile_, *e.id, key);
        else
            notThen_.erase(key);
        entries_.erase(it);
    }

    std::optional<std::string> matching(const std::string& target)
    {
        const std::string resolved = resolvedName(target);
        const std::optional<FileId> id = fileId(target);
        const std::lock_guard lock(mutex_);
        std::optional<std::uint64_t> first;
        const auto consider = [&first](std::uint64_t key) {
            if (!first || key < *first)
                first = key;
        };
        if (const auto named = byName_.find(resolved); named != byName_.end())
            consider(*named->second.begin());
        if (id) {
            if (const auto same = byFile_.find(*id); same != byFile_.end())
                consider(*same->second.begin());
            // A file that did not exist when it was registered may exist now.
            for (const std::uint64_t key : notThen_) {
                if (first && key > *first)
                    break;
                if (fileId(entries_.at(key).resolved) == id)
                    consider(key);
            }
        }
        if (!first)
            return std::nullopt;
        return entries_.at(*first).given;
    }

private:
    template <typename Index, typename Key> static void forget(Index& index, const Key& k, std::uint64_t key)
    {
        const auto it = index.find(k);
        if (it == index.end())
            return;
        it->second.erase(key);
        if (it->second.empty())
            index.erase(it);
    }

    std::mutex mutex_;
    std::unordered_map<std::uint64_t, Entry> entries_;
    std::map<std::pair<std::string, std::optional<FileId>>, std::uint64_t> byNameAndFile_;
    std::unordered_map<std::string, std::set<std::uint64_t>> byName_;
    std::map<FileId, std::set<std::uint64_t>> byFile_;
    std::set<std::uint64_t> notThen_;  // registered before the file existed
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
