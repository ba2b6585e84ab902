#pragma once

#include "base/Clock.h"
#include "base/Failure.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>

// Module Reportfm: the template engine. Merges a keyed data file
// ("|0:TipKrana:value" lines) into an RTF or plain-text template whose fields
// are marked "#Key#", writing the report file.
namespace nkp::report {

namespace RepoRTF_interface {

// The engine's one failure. The message is Windows-1251 text, as the
// engine's messages have always been; utf8() converts it for display.
class RepoRTF_Error : public std::exception {
public:
    explicit RepoRTF_Error(std::string messageCp1251);

    const std::string& Message() const noexcept { return message_; }
    std::string utf8() const;
    // The UTF-8 text, for generic handlers of std::exception.
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::string message_;
    std::string utf8_;
};

}  // namespace RepoRTF_interface

using RepoRTF_interface::RepoRTF_Error;

// Called with the number of data lines read so far, once per line before it
// is processed; a result other than 0 stops the run.
using ProgressHook = std::function<int(int lineCounter)>;

// Merges `dataPath` into `templatePath`, writing `reportPath`. Fails with
// the message of a RepoRTF_Error (Windows-1251) as the reason, with every
// file closed; see the messages in ReportMessages.h for what each leaves
// behind. `clock` gives DATE and TIME, "dd.mm.yyyy" and "hh:mm" of its local
// time.
Done GenerateReport(const std::string& dataPath, const std::string& templatePath,
    const std::string& reportPath, const ProgressHook& progressHook = {},
    const base::Clock& clock = base::systemClock());

}  // namespace nkp::report
