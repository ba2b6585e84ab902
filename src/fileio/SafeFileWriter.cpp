#include "fileio/SafeFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace nkp::fileio {

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error)
{
    auto fail = [&](const std::string& what, int err) {
        if (error)
            *error = what + " '" + path + "': " + std::strerror(err);
        return false;
    };
    std::string pattern = path + ".tmpXXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return fail("cannot create a temporary file for", errno);
    const std::string tmp(name.data());
    auto abandon = [&](const std::string& what) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        return fail(what, err);
    };
    // mkstemp creates the file with mode 0600; a document should get the
    // usual permissions that the umask allows.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return abandon("cannot write");
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return abandon("cannot flush");
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail("cannot close", err);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail("cannot replace", err);
    }
    return true;
}

}  // namespace nkp::fileio
