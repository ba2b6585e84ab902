#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// FlushOutput: strips the engine's markers from assembled output and writes
// it to the report as a text file (every LF written as CR LF).
namespace nkp::report {

// Removes unfilled fields (from a field marker to the next one) and repeated
// blocks left with their markers (from a group marker to the end of the next
// equal one). A marker without its partner is removed alone.
std::string stripMarkers(std::string_view pending);

class ReportWriter {
public:
    explicit ReportWriter(std::FILE* file)
        : file_(file)
    {
    }

    // Strips markers from `pending`, writes it and empties it. After the
    // first failed write nothing more is written.
    void flush(std::string& pending);

    bool failed() const { return failed_; }
    void noteFailure() { failed_ = true; }

private:
    std::FILE* file_;
    std::string lineEnds_;  // reused buffer for the CR LF conversion
    bool failed_ = false;
};

}  // namespace nkp::report
