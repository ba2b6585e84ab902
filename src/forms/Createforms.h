#pragma once

#include "base/Clock.h"
#include "base/Failure.h"
#include "base/InputFiles.h"
#include "base/UserPrompts.h"
#include "forms/FormKeys.h"
#include "forms/ReadingPair.h"
#include "recorder/DataFileReader.h"
#include "recorder/FrameStore.h"
#include "screen/MainState.h"

#include <functional>
#include <string>

// The test-processing documents "Форма 1", "Форма 2" and "Форма 3": each
// loads the latest reading through the main window's open operation, Forms 1
// and 2 read the previous reading for the period values, the form writes its
// keyed data file, the template engine merges it into the form's template,
// and the finished document is handed to the desktop.
namespace nkp::forms {

// Where a form reads and writes. The program takes all three below its start
// directory; nkp3-tool points them elsewhere. Paths are file-system bytes.
struct FormFolders {
    std::string dataFiles;  // "Форма N.txt" is written here
    std::string templates;  // "Форма N.rtf" is read from here
    std::string documents;  // the finished documents go here

    // "Шаблоны форм" for the data files and templates, "Формы" for the documents.
    static FormFolders belowStartDirectory(const std::string& startDirectory);
};

// The main window's open operation: clears, asks for a file and loads it, and
// reports its own failures. It returns false when the user cancelled its
// dialog, true otherwise (also when the chosen file could not be opened).
using OpenOperation = std::function<bool()>;
// Merges a data file into a template (paths in this order: data, template,
// document); fails with the engine's exception.
using ReportEngine = std::function<Done(const std::string&, const std::string&, const std::string&)>;
// Hands a finished document to the desktop; its result is not examined.
using DocumentOpener = std::function<void(const std::string&)>;

// What to do with two read-outs that make no period (PairCheck).
enum class PairAnswer {
    Stop,  // make no document
    GoOn,  // make it from the files as chosen
    Swap,  // take the previous file as the latest and the latest as the previous
};
// Decides about a pair that makes no period; Swap is heeded for a swapped pair only.
using PairDecision = std::function<PairAnswer(const PairCheck&)>;
// Loads the file at a path as the latest reading, as the open operation does
// after its dialog, and reports its own failures; false when not loaded.
using LoadOperation = std::function<bool(const std::string&)>;

// The window's way: a warning with OK and Cancel. A swapped pair offers to
// swap the files; another crane or limiter, or falling counters, ask whether
// to make the document all the same.
PairAnswer askAboutPair(UserPrompts& prompts, const PairCheck& check);

struct FormSettings {
    FormFolders folders;
    char decimalSeparator = ',';
    const base::Clock* clock = &base::systemClock();  // names the document, gives DATE and TIME
    ReportEngine engine;                              // empty: the template engine of the program
    DocumentOpener openDocument;                      // empty: the document is not opened
    PairDecision decidePair;                          // empty: askAboutPair() through the form's prompts
    LoadOperation loadLatest;                         // empty: loads into the state without a window
};

enum class FormResult {
    DocumentMade,       // data file and document written, document handed on
    Cancelled,          // a reading was not chosen, or the user stopped at a damaged file; nothing written
    PreviousNotOpened,  // the previous reading could not be opened; nothing written
    PairRefused,        // the two readings make no period and the user stopped; nothing written
    Failed,             // ended by an error that the caller has shown
};

struct FormOutcome {
    FormResult result = FormResult::Cancelled;
    std::string dataFilePath;  // file-system bytes, set when written
    std::string documentPath;
};

// The template engine of the program as a ReportEngine; its date and time
// fields come from `clock`, which must outlive the engine.
ReportEngine templateEngine(const base::Clock& clock = base::systemClock());

class Createforms {
public:
    Createforms(
        screen::MainState& state, UserPrompts& prompts, OpenOperation openLatest, FormSettings settings);

    // The three menu commands. A missing folder, a data file that cannot be
    // written or a failure of the engine fails the form, its reason a
    // message (UTF-8) for the caller to show.
    Result<FormOutcome> N_CreateForma1Click() { return run(1); }
    Result<FormOutcome> N_CreateForma2Click() { return run(2); }
    Result<FormOutcome> N_CreateForma3Click() { return run(3); }
    Result<FormOutcome> run(int form);

    // The previous reading's frames as Form 1 decoded them last.
    const recorder::FrameStore& previousFrames() const { return previousFrames_; }

    const FormSettings& settings() const { return settings_; }

private:
    // The run; a failure of its own throws FormError.
    FormOutcome make(int form);
    void checkFolders() const;
    // Forms 1 and 2: asks for the previous reading and checks the pair;
    // nothing, with `result` set, when the form ends.
    std::optional<recorder::DataFileReader> choosePrevious(fileio::InputScope& inputs, FormResult& result);
    // Puts the period values into the state; the values the form adds.
    FormExtras applyPrevious(int form, const recorder::DataFileReader& file);
    // Opens the previous reading; shows the open failure and gives nothing.
    std::optional<recorder::DataFileReader> openPrevious(const std::string& path);
    // Checks the pair and lets the user decide; may swap the files, which
    // changes `previousPath` and `file`. False when the form stops.
    bool settlePair(std::string& previousPath, std::optional<recorder::DataFileReader>& file);
    // Asks whether to go on with a damaged file; true for a sound one.
    bool acceptDamage(const analysis::LoadDiagnostics& diagnostics, const std::string& fileName);
    std::string writeDataFile(int form, const std::string& content) const;

    screen::MainState& state_;
    UserPrompts& prompts_;
    OpenOperation openLatest_;
    FormSettings settings_;
    recorder::FrameStore previousFrames_;
};

// Runs one form (1, 2, 3). A failure of the form or of the template engine
// ends the run as Failed and hands its message (UTF-8) to `fail`;
// an exception passes on.
FormOutcome runFormReportingFailure(
    Createforms& forms, int form, const std::function<void(const std::string&)>& fail);

// The main window's open operation without a window: asks for a data file,
// loads it, and shows "\n Файл не удальсь открыть!" when it
// cannot be opened; false when the dialog was cancelled. Used by nkp3-tool
// and the tests.
bool openReadingHeadless(screen::MainState& state, UserPrompts& prompts, char decimalSeparator);
// Its loading after the dialog: loads `path` into `state`, or shows the open
// failure and leaves `state` as it was (false).
bool loadLatestHeadless(
    screen::MainState& state, UserPrompts& prompts, const std::string& path, char decimalSeparator);

}  // namespace nkp::forms
