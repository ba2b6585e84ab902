// The menu commands of the forms: failures reach the general error display
// and the document is then not opened; two read-outs that make no period are
// offered to swap or stopped; afterwards the window shows the read-out again.
#include "MainWindowFixture.h"
#include "ScriptedUserPrompts.h"
#include "TestImages.h"
#include "base/Codec.h"
#include "forms/Createforms.h"
#include "recorder/DataFileWriter.h"
#include "report/Reportfm.h"
#include "screen/MainState.h"
#include "ui/common/UiText.h"
#include "ui/main/ConstTab.h"
#include "ui/main/FormCommands.h"

#include <QDir>
#include <QLabel>

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
        const std::string message = "Не открыт файл шаблона";
        // The engine's messages are Windows-1251; the box shows them as UTF-8.
        settings.engine = [&](const std::string&, const std::string&, const std::string&) {
            return nkp::Done(nkp::failed(nkp::codec::utf8ToCp1251(message)));
        };

        nkp::screen::MainState state;
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
        nkp::screen::MainState state;
        nkp::test::ScriptedUserPrompts prompts;
        nkp::forms::Createforms forms(
            state, prompts, [] { return true; }, settings);
        QCOMPARE(nkp::ui::runFormCommand(forms, 1, prompts).result, nkp::forms::FormResult::Failed);
        const auto errors = prompts.callsOf("error");
        QCOMPARE(errors.size(), size_t(1));
        QVERIFY(errors[0].text.find(settings.folders.templates) != std::string::npos);
    }

    void windowChecksThePairAndShowsTheReadoutAfterwards()
    {
        using nkp::forms::FormResult;
        using nkp::recorder::IdField;
        MainWindowFixture f;  // demo.nkp, the latest reading
        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("Шаблоны форм")));
        QVERIFY(QDir(f.dir.path()).mkpath(QStringLiteral("Формы")));
        for (int form = 1; form <= 2; ++form) {
            QFile t(f.dir.filePath(QStringLiteral("Шаблоны форм/Форма %1.rtf").arg(form)));
            QVERIFY(t.open(QIODevice::WriteOnly));
            t.write("{\\rtf1 #nMotoH#}");
        }
        // An earlier reading of the same crane with half its counters, and one of another crane.
        std::vector<std::uint8_t> image = nkp::generator::generateImage(f.options);
        nkp::recorder::Identification id = nkp::generator::generateIdentification(f.options);
        for (std::size_t at = 264004; at < 264026; ++at)
            image[at] = static_cast<std::uint8_t>(image[at] / 2);
        nkp::test::sealChecksum(image);
        id[IdField::ReadingDate] = "01.01.2024 09:00";
        const QString previous = f.dir.filePath(QStringLiteral("previous.nkp"));
        MainWindowFixture::writeFile(previous, nkp::recorder::buildDataFile(image, id));
        id[IdField::CraneNumber] = "999";
        const QString otherCrane = f.dir.filePath(QStringLiteral("other.nkp"));
        MainWindowFixture::writeFile(otherCrane, nkp::recorder::buildDataFile(image, id));

        struct Case {
            const char* name;
            QString latest, previous;
            std::optional<bool> answer;  // to the warning about the pair; none: not asked
            const char* question;
            FormResult result;
            QString shown;  // the file the window shows afterwards
        };
        const std::vector<Case> cases = {
            {"in order", f.readoutPath, previous, {}, "", FormResult::DocumentMade, f.readoutPath},
            {"swapped, swap", previous, f.readoutPath, true, "Поменять их местами?", FormResult::DocumentMade,
                f.readoutPath},
            {"swapped, stop", previous, f.readoutPath, false, "Поменять их местами?", FormResult::PairRefused,
                previous},
            {"other crane, stop", f.readoutPath, otherCrane, false, "Считывания относятся к разным кранам",
                FormResult::PairRefused, f.readoutPath},
        };
        nkp::ui::Desktop desktop;
        desktop.openDocument = [](const std::string&) { return true; };
        for (const Case& c : cases) {
            for (int form = 1; form <= 2; ++form) {
                const QByteArray trace = QByteArray(c.name) + " form " + QByteArray::number(form);
                f.prompts.calls.clear();
                f.prompts.fileAnswers = {
                    QFile::encodeName(c.latest).toStdString(), QFile::encodeName(c.previous).toStdString()};
                if (c.answer)
                    f.prompts.warningAnswers = {*c.answer};
                QVERIFY2(f.window->runForm(form, desktop).result == c.result, trace);
                const auto warnings = f.prompts.callsOf("warning");
                QVERIFY2(warnings.size() == (c.answer ? 1u : 0u), trace);
                if (c.answer)
                    QVERIFY2(QString::fromStdString(warnings[0].text).contains(QString::fromUtf8(c.question)),
                        trace);

                // The main tab shows the totals of the file it shows, as "Открыть" leaves them.
                MainWindowFixture alone;
                alone.open(c.shown);
                QVERIFY2(f.window->windowTitle() == alone.window->windowTitle(), trace);
                auto& tab = *control<ConstTab>(*f.window, "TabSheet_Const");
                auto& aloneTab = *control<ConstTab>(*alone.window, "TabSheet_Const");
                for (const char* label : {"Label_0", "Label_12", "Label_100", "L_TimeAll", "Label_QSum"})
                    QVERIFY2(control<QLabel>(tab, label)->text() == control<QLabel>(aloneTab, label)->text(),
                        trace + ' ' + label);
                QVERIFY2(f.window->state().readout.totalCycles == alone.window->state().readout.totalCycles,
                    trace);
                QVERIFY2(f.window->state().newestFrameTime == alone.window->state().newestFrameTime, trace);
            }
        }
    }
};

QTEST_MAIN(TestFormCommands)
#include "tst_formcommands.moc"
