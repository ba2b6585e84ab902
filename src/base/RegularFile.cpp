#include "base/RegularFile.h"

#include "base/InputFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nkp::fileio {

namespace {

Failure openFailure(const std::string& path, const char* what, int err)
{
    Failure failure {path, std::string(what) + ": " + std::strerror(err)};
    errno = err;
    return failure;
}

}  // namespace

Result<int> openRegularFile(const std::string& path)
{
    auto fail = [&path](const char* what, int err) { return openFailure(path, what, err); };
    // O_NONBLOCK: opening a FIFO for reading must not wait for a writer; the
    // type check below then refuses it. Regular files ignore the flag.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail("cannot open", errno);
    struct stat st { };
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail("cannot stat", err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail("not a regular file", S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    noteOpenedInput(path);
    return fd;
}

Result<std::FILE*> openRegularStream(const std::string& path)
{
    const auto fd = openRegularFile(path);
    if (!fd)
        return fd.failure();
    std::FILE* file = ::fdopen(*fd, "rb");
    if (!file) {
        const int err = errno;
        ::close(*fd);
        return openFailure(path, "cannot open", err);
    }
    return file;
}

bool sameFile(const std::string& a, const std::string& b)
{
    struct stat sa {
    }, sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void appendCrLfLine(std::string& out, std::string_view text)
{
    for (const char c : text)
        out += c == '\r' || c == '\n' ? ' ' : c;
    out += "\r\n";
}

}  // namespace nkp::fileio
