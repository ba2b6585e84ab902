#include "base/SafeFileWriter.h"

#include "base/InputFiles.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace nkp::fileio {
namespace {

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file they name, which need not exist yet.
// Returns false (errno ELOOP) for a chain that does not end.
bool resolveLinks(std::string& path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st { };
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::vector<char> buffer(PATH_MAX + 1);
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
        if (n < 0)
            return false;
        const std::string link(buffer.data(), static_cast<size_t>(n));
        path = !link.empty() && link[0] == '/' ? link : folderOf(path) + "/" + link;
    }
    errno = ELOOP;
    return false;
}

// The name of the temporary file: the target's name and a random suffix,
// the name shortened where the suffix would push it past the limit.
std::string temporaryPattern(const std::string& target)
{
    constexpr std::string_view kSuffix = ".tmpXXXXXX";
    constexpr size_t kNameMax = NAME_MAX;
    std::string name = nameOf(target);
    if (name.size() + kSuffix.size() > kNameMax)
        name.resize(kNameMax - kSuffix.size());
    const std::string folder = folderOf(target);
    return (target.find('/') == std::string::npos ? std::string() : folder + "/") + name
        + std::string(kSuffix);
}

}  // namespace

ReplacementFile::~ReplacementFile()
{
    discard();
}

Failure ReplacementFile::fail(const std::string& what, int err) const
{
    return Failure {path_, what + " '" + path_ + "': " + std::strerror(err)};
}

Done ReplacementFile::open(const std::string& path)
{
    discard();
    path_ = path;
    target_ = path;
    if (!resolveLinks(target_))
        return fail("cannot follow the link", errno);
    // Checked before anything is made: an output never replaces what the
    // run reads.
    if (const auto input = inputMatching(target_)) {
        return Failure {path_,
            "cannot write '" + path_ + "': it is one of the inputs"
                + (*input == path_ ? std::string() : " ('" + *input + "')")};
    }
    struct stat st { };
    targetExisted_ = ::stat(target_.c_str(), &st) == 0;
    if (targetExisted_) {
        if (!S_ISREG(st.st_mode))
            return fail("not a regular file", S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        // A file without write permission is not replaced, whoever runs the
        // program (the superuser's access() would allow it).
        if ((st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
            return fail("cannot write", EACCES);
        mode_ = st.st_mode & 07777;
        haveOwner_ = true;
        uid_ = st.st_uid;
        gid_ = st.st_gid;
    } else if (errno != ENOENT) {
        return fail("cannot write", errno);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode_ = 0666 & ~mask;
    }
    std::string pattern = temporaryPattern(target_);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0)
        return fail("cannot create a temporary file for", errno);
    temporary_ = name.data();
    if (forcedMode_ >= 0)
        mode_ = static_cast<unsigned>(forcedMode_);
    if (haveOwner_ && ::geteuid() == 0) [[maybe_unused]]
        const int ignored = ::fchown(fd_, uid_, gid_);
    ::fchmod(fd_, static_cast<mode_t>(mode_));
    return {};
}

std::FILE* ReplacementFile::stream()
{
    if (!stream_ && fd_ >= 0)
        stream_ = ::fdopen(fd_, "wb");
    return stream_;
}

bool ReplacementFile::closeFile()
{
    bool ok = true;
    if (stream_) {
        ok = std::fflush(stream_) == 0 && !std::ferror(stream_);
        ok = ::fsync(fd_) == 0 && ok;
        ok = std::fclose(stream_) == 0 && ok;
    } else if (fd_ >= 0) {
        ok = ::fsync(fd_) == 0;
        ok = ::close(fd_) == 0 && ok;
    }
    stream_ = nullptr;
    fd_ = -1;
    return ok;
}

Done ReplacementFile::commit()
{
    if (temporary_.empty())
        return fail("cannot write", EBADF);
    errno = EIO;
    if (!closeFile()) {
        const int err = errno;
        discard();
        return fail("cannot write", err);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int err = errno;
        discard();
        return fail("cannot replace", err);
    }
    temporary_.clear();
    return {};
}

void ReplacementFile::discard()
{
    if (stream_)
        std::fclose(stream_);
    else if (fd_ >= 0)
        ::close(fd_);
    stream_ = nullptr;
    fd_ = -1;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

Done writeFileAtomically(const std::string& path, std::string_view content)
{
    ReplacementFile file;
    return writeThrough(file, path, content);
}

Done writeThrough(ReplacementFile& file, const std::string& path, std::string_view content)
{
    if (Done opened = file.open(path); !opened)
        return opened;
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(file.descriptor(), content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            file.discard();
            return Failure {path, "cannot write '" + path + "': " + std::strerror(err)};
        }
        written += static_cast<std::size_t>(n);
    }
    return file.commit();
}

}  // namespace nkp::fileio
