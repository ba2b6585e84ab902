// nkp3-tool form: one test-processing document without the window.
#include "ToolCommand.h"
#include "ToolSupport.h"

#include "args/ArgParser.h"
#include "base/Codec.h"
#include "forms/Createforms.h"
#include "forms/InstalledTemplates.h"
#include "screen/MainStateLoad.h"

#include <deque>
#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace nkp::tool {
namespace {

namespace fs = std::filesystem;

// Answers the form's questions from the command line: the open dialogs get
// the given files in turn; boxes go to stderr.
class CommandLinePrompts : public UserPrompts {
public:
    explicit CommandLinePrompts(std::deque<std::string> files)
        : files_(std::move(files))
    {
    }

    void information(const std::string&, const std::string&) override { }
    bool warningOkCancel(const std::string&, const std::string&) override { return true; }
    SaveChoice saveDiscardCancel(const std::string&, const std::string&) override
    {
        return SaveChoice::Cancel;
    }
    void error(const std::string&, const std::string& text) override { printError(text); }
    std::optional<std::string> openFile(const FileDialog&) override
    {
        if (files_.empty())
            return std::nullopt;
        std::string next = std::move(files_.front());
        files_.pop_front();
        return next;
    }
    std::optional<std::string> saveFile(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }

private:
    std::deque<std::string> files_;
};

// --templates, else "Шаблоны форм" of the current folder, else the installed
// templates, else the project's own.
std::string templateFolder(const std::string& given)
{
    if (!given.empty())
        return given;
    if (fs::is_directory("Шаблоны форм"))
        return "Шаблоны форм";
    if (std::string installed = nkp::forms::installedTemplatesDir(); !installed.empty())
        return installed;
    return NKP_PROJECT_TEMPLATES_DIR;
}

int runForm(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    std::string out, templates;
    bool allowMismatch = false;
    const ArgSyntax syntax {.options
        = {{"--out", OptionKind::Value, keepIn(out)}, {"--templates", OptionKind::Value, keepIn(templates)},
            {"--allow-mismatch", OptionKind::Flag, setFlag(allowMismatch)}},
        .unknown = UnknownOptions::DoubleDash,
        .ordinary = appendTo(files)};
    if (const auto problem = parseArgs(syntax, args))
        return usageError(problem->kind == ArgProblem::Kind::ValueMissing
                ? problem->argument + " needs a folder"
                : "unknown option '" + problem->argument + "'");
    if (files.empty() || (files[0] != "1" && files[0] != "2" && files[0] != "3"))
        return usageError("form: the form number must be 1, 2 or 3");
    const int form = files[0][0] - '0';
    files.erase(files.begin());
    const std::size_t wanted = form == 3 ? 1 : 2;
    if (files.size() != wanted)
        return usageError(form == 3 ? "form 3 takes one read-out"
                                    : "forms 1 and 2 take the latest and the previous read-out");
    if (out.empty())
        return usageError("form: --out DIR is required");

    std::error_code ec;
    fs::create_directories(out, ec);
    const char separator = localeDecimalSeparator();

    screen::MainState state;
    CommandLinePrompts prompts({files.begin(), files.end()});
    forms::FormSettings settings;
    settings.folders = {out, templateFolder(templates), out};
    settings.decimalSeparator = separator;
    // Two read-outs that make no period: the reason, and no document unless asked for.
    settings.decidePair = [allowMismatch](const forms::PairCheck& check) {
        if (allowMismatch)
            return forms::PairAnswer::GoOn;
        std::cerr << "nkp3-tool: " << visibleControls(check.reason, false) << "\n"
                  << "nkp3-tool: no document made; --allow-mismatch makes it from the files as given\n";
        return forms::PairAnswer::Stop;
    };
    auto openLatest = [&] {
        const auto path = prompts.openFile({});
        if (!path)
            throw std::runtime_error("cannot open " + files[0] + ": ");
        if (const Done loaded = screen::loadReadout(*path, separator, state); !loaded)
            throw std::runtime_error("cannot open " + files[0] + ": " + loaded.failure().reason);
        return true;
    };
    forms::Createforms forms(state, prompts, openLatest, settings);
    const forms::FormOutcome outcome = forms::runFormReportingFailure(
        forms, form, [](const std::string& message) { printError(message); });
    if (outcome.result != forms::FormResult::DocumentMade)
        return kExitFailure;
    std::cout << visibleControls(outcome.documentPath, false) << "\n";
    return kExitOk;
}

}  // namespace
}  // namespace nkp::tool

nkp::tool::ToolCommand nkp::tool::formCommand()
{
    return {"form", "form 1|2|3 LATEST.nkp [PREVIOUS.nkp] --out DIR [--templates DIR] [--allow-mismatch]",
        nkp::tool::runForm};
}
