// nkp3-tool read: the reading of the recorder without the window. Scans the
// serial ports (or reads only the given one), prints the status texts and the
// progress, and saves the read-out with an identification file's texts.
#include "SignSupport.h"
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "args/ArgParser.h"
#include "base/Clock.h"
#include "base/SafeFileWriter.h"
#include "device/DeviceReader.h"
#include "device/ReadoutFile.h"
#include "device/qt/QtSerialPortIo.h"
#include "device/qt/SystemPortSlots.h"
#include "recorder/IdentificationFile.h"

#include <QCoreApplication>

#include <iostream>

namespace {

using namespace nkp::device;

constexpr int kExitChecksumMismatch = 3;

// Status texts on their own lines; the gauge as one line redrawn in place.
class ConsoleObserver : public ReadingObserver {
public:
    void statusText(const std::string& cp1251) override
    {
        endProgress();
        lastStatus_ = nkp::tool::terminalText(cp1251);
        std::cout << lastStatus_ << std::endl;
    }
    const std::string& lastStatus() const { return lastStatus_; }
    void phase(ReadingPhase) override { }
    void gauge(int position) override
    {
        if (position == 0 && !progressShown_)
            return;
        progressShown_ = true;
        std::cout << "\r[" << std::string(static_cast<std::size_t>(position), '#')
                  << std::string(static_cast<std::size_t>(kGaugeMax - position), ' ') << "] " << position
                  << "/" << kGaugeMax << std::flush;
    }
    void endProgress()
    {
        if (progressShown_)
            std::cout << "\n";
        progressShown_ = false;
    }

private:
    bool progressShown_ = false;
    std::string lastStatus_;
};

// A usage problem in the command's words.
std::string readProblem(const nkp::tool::ArgProblem& problem)
{
    using Kind = nkp::tool::ArgProblem::Kind;
    switch (problem.kind) {
    case Kind::ValueMissing:
        return problem.argument == "--port" ? "--port needs a device name" : "--inf needs a file name";
    case Kind::Refused:
        return problem.reason;
    case Kind::UnknownOption:
        return "unknown option '" + problem.argument + "'";
    default:
        return "more than one output file";
    }
}

int runRead(const std::vector<std::string>& args)
{
    using namespace nkp::tool;
    std::string port, inf, out;
    auto devicePort = [&port](const std::string& value) {
        port = value;
        return value.empty() ? std::string("--port needs a device name") : std::string();
    };
    const ArgSyntax syntax {
        .options = {{"--port", OptionKind::Value, devicePort}, {"--inf", OptionKind::Value, keepIn(inf)}},
        .ordinary = keepIn(out),
        .maxOrdinary = 1,
        .empty = EmptyArgument::FillsNothing};
    if (const auto problem = parseArgs(syntax, args))
        return usageError("read: " + readProblem(*problem));
    if (out.empty())
        return nkp::tool::usageError("read: the output file is missing");

    InfFields fields {};
    const std::string infPath = inf.empty() ? "Inf/Default.inf" : inf;
    const auto loaded = loadInf(infPath);
    if (loaded) {
        fields = loaded->fields;
        if (!loaded->complete())
            printError(infPath + " has only " + std::to_string(loaded->lineCount) + " of 13 lines");
    } else if (!inf.empty()) {
        printError("cannot open " + inf + ": " + loaded.failure().reason);
        return nkp::tool::kExitFailure;
    }
    // A transfer takes half a minute: an output that cannot be written (or
    // is the identification file just read) is found before it, not after.
    {
        nkp::fileio::ReplacementFile probe;
        if (const nkp::Done opened = probe.open(out); !opened) {
            printError(opened.error());
            return nkp::tool::kExitFailure;
        }
    }

    // So is a signing key that cannot be used.
    const auto signer = readingSigner();
    if (!signer) {
        printError("cannot sign readings: " + signer.failure().text());
        return nkp::tool::kExitFailure;
    }

    int argc = 1;
    char name[] = "nkp3-tool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    // The name shown for a given port is its path below /dev (ttyUSB0, pts/3).
    const std::string shortName = port.rfind("/dev/", 0) == 0 ? port.substr(5) : port;
    const std::vector<PortSlot> portSlots
        = port.empty() ? systemPortSlots() : std::vector<PortSlot> {{shortName, port}};
    QtSerialPortIo serial;
    nkp::base::Clock& clock = nkp::base::systemClock();
    ConsoleObserver observer;
    DeviceReader reader;
    const ReadingResult result = reader.read(portSlots, serial, clock, observer);
    observer.endProgress();
    if (result.outcome == ReadingOutcome::NotFound || result.outcome == ReadingOutcome::Interrupted) {
        printError("the reading failed: " + observer.lastStatus());
        return nkp::tool::kExitFailure;
    }

    if (const nkp::Done saved = saveReadout(out, reader.image(), fields, readingDateText(clock.now()));
        !saved) {
        printError(saved.error());
        return nkp::tool::kExitFailure;
    }
    std::cout << "saved " << visibleControls(out, false) << "\n";
    // The data file is on the disk first; a signature that fails loses nothing.
    if (*signer && !signReading(out, **signer, result.portShortName))
        return nkp::tool::kExitFailure;
    return result.outcome == ReadingOutcome::Success ? nkp::tool::kExitOk : kExitChecksumMismatch;
}

}  // namespace

nkp::tool::ToolCommand nkp::tool::readCommand()
{
    return {"read", "read [--port DEVICE] [--inf FILE.inf] OUT.nkp", runRead};
}
