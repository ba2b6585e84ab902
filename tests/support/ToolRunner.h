#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace nkp::test {

struct ToolOutput {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line; its standard output (what the line does not
// redirect itself), standard error and exit status.
inline ToolOutput runCommand(const std::string& commandLine)
{
    const auto errFile
        = std::filesystem::temp_directory_path() / ("nkp_tool_stderr_" + std::to_string(::getpid()));
    ToolOutput run;
    // Grouped, so that the line's own redirections (2>&1 among them) stand.
    FILE* pipe = ::popen(("{ " + commandLine + "\n} 2>'" + errFile.string() + "'").c_str(), "r");
    if (!pipe)
        return run;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        run.out.append(buf, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    run.err = ss.str();
    std::filesystem::remove(errFile);
    return run;
}

// Runs nkp3-tool with `args` (quoted by the caller) under the locale `locale`.
inline ToolOutput runTool(const std::string& args, const std::string& locale = "C")
{
    return runCommand("LC_ALL=" + locale + " '" NKP_TOOL_PATH "' " + args);
}

}  // namespace nkp::test
