#include "ui/main/FormCommands.h"

#include "base/Codec.h"
#include "forms/FormTexts.h"
#include "forms/InstalledTemplates.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QUrl>

#include <filesystem>

namespace nkp::ui {

void showGeneralError(UserPrompts& prompts, const std::string& message)
{
    prompts.error(forms::text::errorCaption(), message);
}

namespace {

QUrl localUrl(const std::string& path)
{
    return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
}

// Whether the desktop names an application for RTF documents. xdg-open only
// complains on its own stderr when there is none, so ask xdg-mime first;
// without xdg-mime the opener's own answer has to do.
bool rtfApplicationKnown()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true;
    for (const QString& type : {QStringLiteral("application/rtf"), QStringLiteral("text/rtf")}) {
        QProcess query;
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
        if (query.waitForFinished(3000) && !query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

}  // namespace

bool openDocumentWithDesktop(const std::string& path)
{
    return rtfApplicationKnown() && QDesktopServices::openUrl(localUrl(path));
}

Desktop systemDesktop()
{
    return {openDocumentWithDesktop,
        [](const std::string& folder) { return QDesktopServices::openUrl(localUrl(folder)); }};
}

void reportDocument(
    UserPrompts& prompts, const std::string& documentPath, bool opened, const Desktop& desktop)
{
    if (!prompts.informationWithAction(forms::text::informationCaption(),
            forms::text::documentSaved(documentPath, opened), forms::text::openFolderButton()))
        return;
    const std::string folder = std::filesystem::path(documentPath).parent_path().string();
    if (!desktop.openFolder || !desktop.openFolder(folder))
        prompts.error(forms::text::errorCaption(),
            "Не удалось открыть папку " + folder + ": файловый менеджер не ответил. Откройте папку вручную.");
}

forms::FormSettings windowFormSettings(const std::string& startDirectory, char decimalSeparator)
{
    forms::FormSettings settings;
    settings.folders = forms::formFoldersFor(startDirectory, forms::installedTemplatesDir());
    settings.decimalSeparator = decimalSeparator;
    settings.clock = &base::systemClock();
    settings.openDocument = openDocumentWithDesktop;
    return settings;
}

forms::FormOutcome runFormCommand(forms::Createforms& forms, int form, UserPrompts& prompts)
{
    try {
        return forms::runFormReportingFailure(
            forms, form, [&prompts](const std::string& message) { showGeneralError(prompts, message); });
    } catch (const std::exception& e) {
        // Anything else (a file system refusing, memory) ends the command the same way.
        showGeneralError(prompts, e.what());
    }
    return {forms::FormResult::Failed, {}, {}};
}

forms::FormOutcome runWindowForm(
    const FormWindow& window, UserPrompts& prompts, int form, const Desktop& desktop)
{
    forms::FormSettings settings = windowFormSettings(window.startDirectory, window.decimalSeparator);
    bool opened = false;
    settings.openDocument = [&desktop, &opened](const std::string& path) {
        opened = desktop.openDocument && desktop.openDocument(path);
    };
    settings.loadLatest = window.loadFile;
    forms::Createforms forms(window.state, prompts, window.openDataFile, std::move(settings));
    const forms::FormOutcome outcome = runFormCommand(forms, form, prompts);
    if (window.showState)
        window.showState();
    if (outcome.result == forms::FormResult::DocumentMade)
        reportDocument(prompts, outcome.documentPath, opened, desktop);
    return outcome;
}

}  // namespace nkp::ui
