#pragma once

#include "base/Failure.h"

#include <functional>
#include <string_view>

// The programs' log: causes that the user is not shown (the window shows a
// fixed message only, say " Файл не удальсь открыть!") go here, so that
// a service engineer or a test can still learn why. Standard error by
// default; any thread may write.
namespace nkp::log {

using Sink = std::function<void(std::string_view line)>;

// Sends one line (no line break) to the sink.
void write(std::string_view line);
void write(const Failure& failure);

// Replaces the sink and returns the one before; an empty sink restores
// standard error.
Sink setSink(Sink sink);

}  // namespace nkp::log
