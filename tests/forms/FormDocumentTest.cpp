// The finished documents: where they go, what they hold, and how failures
// end a form.
#include "FormTestSupport.h"

#include "base/Codec.h"
#include "report/ReportMessages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace nkp::forms::test {
namespace {

using recorder::IdField;

class FormDocument : public ::testing::Test {
protected:
    // An earlier reading of the latest one's crane, with half its counters.
    Readout olderOfSameCrane() const
    {
        Readout older = previous;
        for (const std::size_t counter : {264004u, 264011u, 264014u, 264017u, 264020u, 264023u})
            older.put24(counter, latest.get24(counter) / 2);
        older.id = latest.id;
        older.id[IdField::ReadingDate] = "01.01.2024 09:00";
        return older;
    }
    // The value of `key` in the data file the form wrote last.
    std::string dataFileValue(int form, const std::string& key) const
    {
        const std::string text = readFile(folder.templates() / ("Форма " + std::to_string(form) + ".txt"));
        const std::string prefix = "|0:" + key + ":";
        const std::size_t at = text.find(prefix);
        if (at == std::string::npos)
            return "(no " + key + ")";
        const std::size_t from = at + prefix.size();
        return text.substr(from, text.find("\r\n", from) - from);
    }

    StartFolder folder;
    Readout latest = makeReadout(5, 4000);
    Readout previous = makeReadout(5, 1000);
};

TEST_F(FormDocument, EachFormMakesAnRtfDocumentHoldingItsValues)
{
    latest.id[IdField::CraneModel] = cp("КС-55713");
    latest.id[IdField::CraneNumber] = "178";
    const std::string latestPath = folder.write("latest.nkp", latest.bytes());
    const std::string previousPath = folder.write("previous.nkp", olderOfSameCrane().bytes());

    for (int form = 1; form <= 3; ++form) {
        SCOPED_TRACE(form);
        FormRunner runner(folder);
        const FormOutcome outcome = runner.run(form, latestPath, previousPath);
        ASSERT_EQ(outcome.result, FormResult::DocumentMade);
        const auto expectedName = "Форма " + std::to_string(form) + " (КС-55713 №178 08.04.07 15-54).rtf";
        EXPECT_EQ(outcome.documentPath, (folder.documents() / expectedName).string());
        ASSERT_EQ(runner.opened, std::vector<std::string> {outcome.documentPath});

        const std::string document = readFile(outcome.documentPath);
        EXPECT_EQ(document.rfind("{\\rtf1", 0), 0u);
        EXPECT_NE(document.find("\\fcharset204"), std::string::npos);
        // Every field was filled or emptied: no delimiter and no engine marker is left.
        EXPECT_EQ(document.find('#'), std::string::npos);
        EXPECT_EQ(document.find('\x02'), std::string::npos);
        EXPECT_EQ(document.find('\x03'), std::string::npos);
        // The values of the form data file, period values among them.
        for (const char* key :
            {"TipKrana", "ZavNomerK", "Vladelec", "nMotoH", "SumMas", "RCikl40", "SumCicl", "NameOper"}) {
            const std::string value = dataFileValue(form, key);
            EXPECT_NE(document.find(value), std::string::npos) << key << ' ' << codec::cp1251ToUtf8(value);
        }
        if (form == 1) {
            EXPECT_NE(document.find(" - 10999"), std::string::npos);
        }
    }
    EXPECT_EQ(folder.documentFiles().size(), 3u);
}

TEST_F(FormDocument, CraneModelWithSlashStaysInTheDocumentFolder)
{
    latest.id[IdField::CraneModel] = cp("КС/55:7*3");
    latest.id[IdField::CraneNumber] = "../1";
    const std::string latestPath = folder.write("latest.nkp", latest.bytes());
    FormRunner runner(folder);
    const FormOutcome outcome = runner.run(3, latestPath);
    ASSERT_EQ(outcome.result, FormResult::DocumentMade);
    EXPECT_EQ(
        outcome.documentPath, (folder.documents() / "Форма 3 (КС_55_7_3 №.._1 08.04.07 15-54).rtf").string());
    EXPECT_TRUE(std::filesystem::exists(outcome.documentPath));
    EXPECT_EQ(folder.documentFiles().size(), 1u);
    // The data file keeps the model as it stands.
    EXPECT_NE(readFile(folder.templates() / "Форма 3.txt").find("|0:TipKrana:" + cp("КС/55:7*3") + "\r\n"),
        std::string::npos);
}

TEST_F(FormDocument, MissingFolderIsNamedAndNothingIsWritten)
{
    const std::string latestPath = folder.write("latest.nkp", latest.bytes());
    std::filesystem::remove_all(folder.documents());
    FormRunner runner(folder);
    EXPECT_EQ(runner.run(3, latestPath).result, FormResult::Failed);
    ASSERT_TRUE(runner.failure);
    EXPECT_NE(runner.failure->reason.find(folder.documents().string()), std::string::npos)
        << runner.failure->reason;
    EXPECT_TRUE(runner.prompts.calls.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.templates() / "Форма 3.txt"));

    std::filesystem::remove_all(folder.templates());
    std::filesystem::create_directories(folder.documents());
    EXPECT_EQ(runner.run(1, latestPath, latestPath).result, FormResult::Failed);
    EXPECT_TRUE(runner.failure);
    EXPECT_TRUE(folder.documentFiles().empty());
    EXPECT_TRUE(runner.opened.empty());
}

TEST_F(FormDocument, EngineFailureEndsTheFormWithoutOpeningTheDocument)
{
    const std::string latestPath = folder.write("latest.nkp", latest.bytes());
    std::filesystem::remove(folder.templates() / "Форма 3.rtf");
    FormRunner runner(folder);
    // The engine's message, made UTF-8 like the form's own.
    EXPECT_EQ(runner.run(3, latestPath).result, FormResult::Failed);
    ASSERT_TRUE(runner.failure);
    EXPECT_EQ(runner.failure->reason, report::messages::kNoTemplate);
    EXPECT_TRUE(runner.opened.empty());
    // The data file was written before the engine ran, and stays.
    EXPECT_TRUE(std::filesystem::exists(folder.templates() / "Форма 3.txt"));
}

// A failed run never costs the good document of the same name: a broken
// template or a FIFO in the template's place leaves the older document, and
// the pipe never blocks the form.
TEST_F(FormDocument, FailedRunKeepsTheOlderDocument)
{
    const std::string latestPath = folder.write("latest.nkp", latest.bytes());
    FormRunner good(folder);
    const FormOutcome outcome = good.run(3, latestPath);
    ASSERT_EQ(outcome.result, FormResult::DocumentMade);
    const std::string document = readFile(outcome.documentPath);
    ASSERT_FALSE(document.empty());

    const auto templ = folder.templates() / "Форма 3.rtf";
    std::filesystem::rename(templ, folder.root() / "saved.rtf");
    std::ofstream(templ, std::ios::binary) << "{\\rtf1 #Broken";
    FormRunner broken(folder);
    EXPECT_EQ(broken.run(3, latestPath).result, FormResult::Failed);
    EXPECT_EQ(readFile(outcome.documentPath), document);

    std::filesystem::remove(templ);
    ASSERT_EQ(::mkfifo(templ.c_str(), 0644), 0);
    FormRunner piped(folder);
    EXPECT_EQ(piped.run(3, latestPath).result, FormResult::Failed);
    EXPECT_EQ(readFile(outcome.documentPath), document);
    EXPECT_EQ(folder.documentFiles().size(), 1u);
}

TEST_F(FormDocument, UnwritableDataFileIsAFormError)
{
    const std::string latestPath = folder.write("latest.nkp", latest.bytes());
    // A folder in the data file's place cannot be replaced by a file.
    std::filesystem::create_directories(folder.templates() / "Форма 3.txt" / "x");
    FormRunner runner(folder);
    EXPECT_EQ(runner.run(3, latestPath).result, FormResult::Failed);
    ASSERT_TRUE(runner.failure);
    EXPECT_NE(runner.failure->reason.find("Форма 3.txt"), std::string::npos) << runner.failure->reason;
    EXPECT_TRUE(folder.documentFiles().empty());
    EXPECT_TRUE(runner.opened.empty());
}

// A word processor converts each document to text and finds the values.
TEST_F(FormDocument, WordProcessorReadsTheDocuments)
{
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no word processor (soffice) installed";
    latest.id[IdField::CraneModel] = cp("КС-55713");
    const std::string latestPath = folder.write("latest.nkp", latest.bytes());
    const std::string previousPath = folder.write("previous.nkp", olderOfSameCrane().bytes());
    for (int form = 1; form <= 3; ++form) {
        FormRunner runner(folder);
        const FormOutcome outcome = runner.run(form, latestPath, previousPath);
        const auto out = folder.root() / ("text" + std::to_string(form));
        const std::string command = "soffice --headless --convert-to txt:Text --outdir '" + out.string()
            + "' '" + outcome.documentPath + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const auto txt
            = out / std::filesystem::path(outcome.documentPath).filename().replace_extension(".txt");
        const std::string text = readFile(txt);
        EXPECT_NE(text.find("КС-55713"), std::string::npos);
        EXPECT_NE(text.find(codec::cp1251ToUtf8(dataFileValue(form, "nMotoH"))), std::string::npos);
        EXPECT_NE(text.find(dataFileValue(form, "SumCicl")), std::string::npos);
    }
}

}  // namespace
}  // namespace nkp::forms::test
