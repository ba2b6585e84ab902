#include "forms/Createforms.h"

#include "analysis/FileDamage.h"
#include "analysis/ReadoutLoader.h"
#include "base/Codec.h"
#include "base/InputFiles.h"
#include "base/Log.h"
#include "base/SafeFileWriter.h"
#include "forms/DocumentName.h"
#include "forms/FormError.h"
#include "forms/FormKeys.h"
#include "forms/FormTexts.h"
#include "forms/PeriodValues.h"
#include "forms/PreviousFrames.h"
#include "recorder/DataFileReader.h"
#include "report/Reportfm.h"
#include "screen/MainStateLoad.h"
#include "screen/StateTexts.h"

#include <filesystem>
#include <stdexcept>

namespace nkp::forms {
namespace {

std::string joinPath(const std::string& folder, const std::string& name)
{
    return (std::filesystem::path(folder) / name).string();
}

// "Форма N" as a file-system name (UTF-8).
std::string formFileStem(int form)
{
    return "Форма " + std::to_string(form);
}

UserPrompts::FileDialog openDialog(const screen::MainState& state)
{
    UserPrompts::FileDialog dialog;
    dialog.title = text::openDialogTitle();
    dialog.filter = screen::texts::readoutFileFilter();
    // The dialog starts with the file chosen for the latest reading.
    dialog.fileName = state.filePath;
    if (!state.filePath.empty())
        dialog.initialDir = std::filesystem::path(state.filePath).parent_path().string();
    return dialog;
}

}  // namespace

FormFolders FormFolders::belowStartDirectory(const std::string& startDirectory)
{
    const std::string templates = joinPath(startDirectory, "Шаблоны форм");
    const std::string documents = joinPath(startDirectory, "Формы");
    return {templates, templates, documents};
}

Createforms::Createforms(
    screen::MainState& state, UserPrompts& prompts, OpenOperation openLatest, FormSettings settings)
    : state_(state)
    , prompts_(prompts)
    , openLatest_(std::move(openLatest))
    , settings_(std::move(settings))
{
    if (!settings_.clock)
        settings_.clock = &base::systemClock();
    if (!settings_.engine)
        settings_.engine = templateEngine(*settings_.clock);
}

Result<FormOutcome> Createforms::run(int form)
{
    try {
        return make(form);
    } catch (const FormError& e) {
        return failed(e.what());
    }
}

FormOutcome Createforms::make(int form)
{
    if (form < 1 || form > 3)
        throw std::invalid_argument("form number out of range");
    // Checked first, so that a missing folder costs the user no dialogs and
    // leaves nothing half-written.
    checkFolders();

    const bool period = form != 3;
    prompts_.information(
        text::informationCaption(), period ? text::promptLatestReading() : text::promptSingleReading());
    // A cancelled dialog ends Forms 1 and 2 (the period needs the latest
    // reading); otherwise, whatever the open operation achieved, the form
    // goes on with what the window holds.
    if (!openLatest_() && period)
        return {FormResult::Cancelled, {}, {}};
    if (!acceptDamage(state_.readout.diagnostics, state_.fileName))
        return {FormResult::Cancelled, {}, {}};

    // The read-outs and the template are inputs until the document is made:
    // neither the data file nor the document may replace one of them.
    const std::string templatePath = joinPath(settings_.folders.templates, formFileStem(form) + ".rtf");
    fileio::InputScope inputs({state_.filePath, templatePath});
    std::optional<recorder::DataFileReader> previousFile;
    if (period) {
        FormResult result = FormResult::DocumentMade;
        if (previousFile = choosePrevious(inputs, result); !previousFile)
            return {result, {}, {}};
    }

    // The period values live only as long as the key lines are made: the
    // window goes on showing the read-out's own values.
    const screen::MainTexts shownTexts = state_.texts;
    const std::int64_t shownTotalCycles = state_.readout.totalCycles;
    const std::string shownNewestFrameTime = state_.newestFrameTime;
    const FormExtras extras = previousFile ? applyPrevious(form, *previousFile) : FormExtras {};
    const std::vector<KeyLine> keyLines = formKeyLines(form, state_, extras);
    state_.texts = shownTexts;
    state_.readout.totalCycles = shownTotalCycles;
    state_.newestFrameTime = shownNewestFrameTime;

    FormOutcome outcome;
    outcome.result = FormResult::DocumentMade;
    outcome.dataFilePath = writeDataFile(form, formDataFileText(keyLines));

    const std::string name
        = documentName(form, state_.texts.craneModel, state_.texts.craneNumber, settings_.clock->now());
    outcome.documentPath = joinPath(settings_.folders.documents, codec::cp1251ToUtf8(name));
    // The engine's messages are Windows-1251.
    if (Done made = settings_.engine(outcome.dataFilePath, templatePath, outcome.documentPath); !made)
        throw FormError(codec::cp1251ToUtf8(made.failure().reason));

    if (settings_.openDocument)
        settings_.openDocument(outcome.documentPath);
    return outcome;
}

std::optional<recorder::DataFileReader> Createforms::choosePrevious(
    fileio::InputScope& inputs, FormResult& result)
{
    prompts_.information(text::informationCaption(), text::promptPreviousReading());
    result = FormResult::Cancelled;
    const auto chosen = prompts_.openFile(openDialog(state_));
    if (!chosen)
        return std::nullopt;
    std::string previousPath = *chosen;
    inputs.add(previousPath);
    std::optional<recorder::DataFileReader> file = openPrevious(previousPath);
    if (!file) {
        result = FormResult::PreviousNotOpened;
        return std::nullopt;
    }
    if (!acceptDamage(analysis::diagnoseFile(*file),
            codec::utf8ToCp1251(std::filesystem::path(previousPath).filename().string())))
        return std::nullopt;
    if (!settlePair(previousPath, file)) {
        result = file ? FormResult::PairRefused : FormResult::PreviousNotOpened;
        return std::nullopt;
    }
    return file;
}

FormExtras Createforms::applyPrevious(int form, const recorder::DataFileReader& file)
{
    FormExtras extras;
    const PreviousReading previous = readPreviousReading(file);
    applyPeriodValues(state_, previous, settings_.decimalSeparator);
    extras.startCharacteristic = startCharacteristicText(previous, settings_.decimalSeparator);
    if (form == 1) {
        applyPreviousRing(state_, previousRing(analysis::decodeFrames(file, previousFrames_)));
        extras.testSpan = testSpanText(state_);
        extras.frameRange = frameRangeText(state_);
    }
    return extras;
}

std::optional<recorder::DataFileReader> Createforms::openPrevious(const std::string& path)
{
    Result<recorder::DataFileReader> file = analysis::openReadoutFile(path);
    if (!file) {
        log::write(file.failure());
        prompts_.error(text::errorCaption(), screen::texts::fileNotOpened());
        return std::nullopt;
    }
    return std::move(*file);
}

bool Createforms::settlePair(std::string& previousPath, std::optional<recorder::DataFileReader>& file)
{
    auto check = [&] {
        return checkReadingPair(readingFacts(state_),
            readingFacts(analysis::readReadout(*file, analysis::FrameCheck::LeaveToDecoding)));
    };
    PairCheck verdict = check();
    if (verdict.period())
        return true;
    const PairAnswer answer
        = settings_.decidePair ? settings_.decidePair(verdict) : askAboutPair(prompts_, verdict);
    if (answer == PairAnswer::GoOn)
        return true;
    if (answer != PairAnswer::Swap || verdict.verdict != PairVerdict::Swapped)
        return false;

    // The file chosen as the previous reading becomes the latest, and the
    // latest the previous one.
    const std::string latestPath = state_.filePath;
    const bool loaded = settings_.loadLatest
        ? settings_.loadLatest(previousPath)
        : loadLatestHeadless(state_, prompts_, previousPath, settings_.decimalSeparator);
    // Either failure has been shown; the form ends as with a file not opened.
    file.reset();
    if (!loaded || !(file = openPrevious(latestPath)))
        return false;
    previousPath = latestPath;
    // Swapped once: what is still wrong can only be gone on with or stopped.
    verdict = check();
    if (verdict.period())
        return true;
    return (settings_.decidePair ? settings_.decidePair(verdict) : askAboutPair(prompts_, verdict))
        == PairAnswer::GoOn;
}

PairAnswer askAboutPair(UserPrompts& prompts, const PairCheck& check)
{
    if (check.verdict == PairVerdict::Swapped)
        return prompts.warningOkCancel(text::warningCaption(), text::swapQuestion(check.reason))
            ? PairAnswer::Swap
            : PairAnswer::Stop;
    return prompts.warningOkCancel(text::warningCaption(), text::mismatchQuestion(check.reason))
        ? PairAnswer::GoOn
        : PairAnswer::Stop;
}

bool Createforms::acceptDamage(const analysis::LoadDiagnostics& diagnostics, const std::string& fileName)
{
    const std::string warning = analysis::damageWarning(diagnostics);
    return warning.empty()
        || prompts_.warningOkCancel(text::warningCaption(), text::damagedFileQuestion(fileName, warning));
}

void Createforms::checkFolders() const
{
    for (const std::string* folder :
        {&settings_.folders.dataFiles, &settings_.folders.templates, &settings_.folders.documents}) {
        std::error_code ec;
        if (!std::filesystem::is_directory(*folder, ec))
            throw FormError(text::folderMissing(*folder));
    }
}

std::string Createforms::writeDataFile(int form, const std::string& content) const
{
    const std::string path = joinPath(settings_.folders.dataFiles, formFileStem(form) + ".txt");
    if (fileio::isInput(path))
        throw FormError(text::dataFileNotWritten(path, screen::texts::outputIsInput(path)));
    if (Done written = fileio::writeFileAtomically(path, content); !written)
        throw FormError(text::dataFileNotWritten(path, written.failure().text()));
    return path;
}

bool openReadingHeadless(screen::MainState& state, UserPrompts& prompts, char decimalSeparator)
{
    const auto chosen = prompts.openFile(openDialog(state));
    if (!chosen)
        return false;
    loadLatestHeadless(state, prompts, *chosen, decimalSeparator);
    return true;
}

bool loadLatestHeadless(
    screen::MainState& state, UserPrompts& prompts, const std::string& path, char decimalSeparator)
{
    return screen::openReadout(path, decimalSeparator, state, prompts);
}

FormOutcome runFormReportingFailure(
    Createforms& forms, int form, const std::function<void(const std::string&)>& fail)
{
    Result<FormOutcome> outcome = forms.run(form);
    if (outcome)
        return std::move(*outcome);
    fail(outcome.failure().reason);
    return {FormResult::Failed, {}, {}};
}

}  // namespace nkp::forms
