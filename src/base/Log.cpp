#include "base/Log.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace nkp::log {
namespace {

std::mutex& lock()
{
    static std::mutex m;
    return m;
}

Sink& current()
{
    static Sink sink;
    return sink;
}

}  // namespace

void write(std::string_view line)
{
    const std::lock_guard<std::mutex> guard(lock());
    if (current()) {
        current()(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
}

void write(const Failure& failure)
{
    write(failure.text());
}

Sink setSink(Sink sink)
{
    const std::lock_guard<std::mutex> guard(lock());
    Sink before = std::move(current());
    current() = std::move(sink);
    return before;
}

}  // namespace nkp::log
