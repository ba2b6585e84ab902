// The menu commands of the forms: failures reach the general error display
// and the document is then not opened.
#include "ScriptedUserPrompts.h"
#include "analysis/MainState.h"
#include "base/Codec.h"
#include "forms/Createforms.h"
#include "report/Reportfm.h"
#include "ui/main/FormCommands.h"

#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

class TestFormCommands : public QObject {
    Q_OBJECT

private slots:
    void engineFailureIsShownAndNothingOpened()
    {
        QTemporaryDir dir;
        const std::string root = dir.path().toStdString();
        nkp::forms::FormSettings settings = nkp::ui::windowFormSettings(root, ',');
        std::filesystem::create_directories(settings.folders.templates);
        std::filesystem::create_directories(settings.folders.documents);
        int opened = 0;
        settings.openDocument = [&](const std::string&) { ++opened; };
        const std::string message = nkp::codec::utf8ToCp1251("Не открыт файл шаблона");
        settings.engine = [&](const std::string&, const std::string&, const std::string&) {
            throw nkp::report::RepoRTF_Error(message);
        };

        nkp::analysis::MainState state;
        nkp::test::ScriptedUserPrompts prompts;
        nkp::forms::Createforms forms(
            state, prompts, [] { return true; }, settings);
        const auto outcome = nkp::ui::runFormCommand(forms, 3, prompts);
        QCOMPARE(outcome.result, nkp::forms::FormResult::Failed);
        const auto errors = prompts.callsOf("error");
        QCOMPARE(errors.size(), size_t(1));
        QCOMPARE(errors[0].text, message);
        QCOMPARE(opened, 0);
    }

    void missingFolderIsShownByName()
    {
        QTemporaryDir dir;
        const std::string root = dir.path().toStdString();
        nkp::forms::FormSettings settings = nkp::ui::windowFormSettings(root, ',');
        nkp::analysis::MainState state;
        nkp::test::ScriptedUserPrompts prompts;
        nkp::forms::Createforms forms(
            state, prompts, [] { return true; }, settings);
        QCOMPARE(nkp::ui::runFormCommand(forms, 1, prompts).result, nkp::forms::FormResult::Failed);
        const auto errors = prompts.callsOf("error");
        QCOMPARE(errors.size(), size_t(1));
        QVERIFY(
            nkp::codec::cp1251ToUtf8(errors[0].text).find(settings.folders.templates) != std::string::npos);
    }
};

QTEST_MAIN(TestFormCommands)
#include "tst_formcommands.moc"
