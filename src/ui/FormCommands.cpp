#include "ui/FormCommands.h"

#include "codec/Codec.h"
#include "forms/FormTexts.h"
#include "forms/InstalledTemplates.h"
#include "ui/Tpb140_nkp3_main.h"

#include <QDesktopServices>
#include <QFile>
#include <QString>
#include <QUrl>

namespace nkp::ui {

void showGeneralError(UserPrompts& prompts, const std::string& message)
{
    prompts.error(forms::text::errorCaption(), message);
}

void openDocumentWithDesktop(const std::string& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path))));
}

forms::FormSettings windowFormSettings(const std::string& startDirectory, char decimalSeparator)
{
    forms::FormSettings settings;
    settings.folders = forms::formFoldersFor(startDirectory, forms::installedTemplatesDir());
    settings.decimalSeparator = decimalSeparator;
    settings.clock = forms::systemMoment;
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
        showGeneralError(prompts, codec::utf8ToCp1251(e.what()));
    }
    return {forms::FormResult::Failed, {}, {}};
}

forms::FormOutcome runWindowForm(TForm_TPB140CMain& window, UserPrompts& prompts, int form)
{
    const std::string start = QFile::encodeName(window.startDirectory()).toStdString();
    forms::Createforms forms(
        window.state(), prompts, [&window] { window.Menu_OpenSTN3Click(); },
        windowFormSettings(start, window.decimalSeparator()));
    const forms::FormOutcome outcome = runFormCommand(forms, form, prompts);
    window.refreshAll();
    return outcome;
}

}  // namespace nkp::ui
