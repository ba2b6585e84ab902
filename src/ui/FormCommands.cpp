#include "ui/FormCommands.h"

#include "codec/Codec.h"
#include "forms/FormError.h"
#include "forms/FormTexts.h"
#include "report/Reportfm.h"

#include <QDesktopServices>
#include <QLocale>
#include <QString>
#include <QUrl>

namespace nkp::ui {

void showGeneralError(UserPrompts& prompts, const std::string& message)
{
    prompts.error(forms::text::errorCaption(), message);
}

void openDocumentWithDesktop(const std::string& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()))));
}

forms::FormSettings windowFormSettings(const std::string& startDirectory)
{
    forms::FormSettings settings;
    settings.folders = forms::FormFolders::belowStartDirectory(startDirectory);
    const QString point = QLocale::system().decimalPoint();
    settings.decimalSeparator = point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode()) : ',';
    settings.clock = forms::systemMoment;
    settings.openDocument = openDocumentWithDesktop;
    return settings;
}

forms::FormOutcome runFormCommand(forms::Createforms& forms, int form, UserPrompts& prompts)
{
    try {
        return forms.run(form);
    } catch (const forms::FormError& e) {
        showGeneralError(prompts, e.what());
    } catch (const report::RepoRTF_interface::RepoRTF_Error& e) {
        showGeneralError(prompts, e.Message());
    } catch (const std::exception& e) {
        // Anything else (a file system refusing, memory) ends the command the same way.
        showGeneralError(prompts, codec::utf8ToCp1251(e.what()));
    }
    return {forms::FormResult::Failed, {}, {}};
}

}  // namespace nkp::ui
