#pragma once

#include <csignal>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace nkp::device::test {

// Runs nkp3-sim with the given options and reads the pseudo-terminal path it
// prints first; ends it on destruction.
class SimProcess {
public:
    explicit SimProcess(const std::string& program, std::vector<std::string> args)
    {
        int out[2];
        if (::pipe(out) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(program.c_str()));
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        pollfd pfd {out[0], POLLIN, 0};
        char c = 0;
        while (::poll(&pfd, 1, 5000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n')
            path_.push_back(c);
        ::close(out[0]);
    }
    ~SimProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& path() const { return path_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    std::string path_;
};

}  // namespace nkp::device::test
