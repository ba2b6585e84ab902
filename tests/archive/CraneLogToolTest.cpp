#include "ArchiveFiles.h"
#include "ToolRunner.h"

#include "archive/StoredFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using nkp::test::craneReadout;
using nkp::test::TempFolder;

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome tool(const std::string& args, const std::string& locale = "C.UTF-8")
{
    const auto r = nkp::test::runTool(args, locale);
    return {r.status, r.out, r.err};
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// A crane read twice with a new limiter between, noted, corrected, set and
// checked; the same image given again under a mistyped number.
TEST(CraneLogTool, NotesLogsDueDatesRemarksAndTheReport)
{
    TempFolder folder;
    auto f1 = craneReadout(21, "КС-1", "7", "01.01.2022 10:00", "1111", 1000);
    // A recorder never read before: no reading stamps at all.
    std::fill_n(f1.begin() + nkp::recorder::kReadingStampsOffset,
        nkp::recorder::kReadingStampCount * nkp::recorder::kStampSize, std::uint8_t {0});
    const auto f2 = craneReadout(22, "КС-1", "7", "01.07.2022 10:00", "2222", 100);
    folder.write("in/f1.nkp", f1);
    folder.write("in/f2.nkp", f2);
    // The second image once more, its crane number mistyped: the same memory image.
    folder.write("typo/f2.nkp", nkp::test::withText(f2, nkp::recorder::IdField::CraneNumber, "70"));
    const std::string a = "'" + folder.path("a.sqlite") + "'";
    ASSERT_EQ(tool("archive import " + a + " '" + folder.path("in") + "'").status, 0);
    const Outcome typo = tool("archive import " + a + " '" + folder.path("typo") + "'");
    EXPECT_EQ(typo.status, 0) << typo.err;
    EXPECT_TRUE(has(typo.out, "добавлено: 0\nуже в архиве: 0\nне прочитано: 0\nпод другим краном: 1\n"))
        << typo.out;
    EXPECT_TRUE(has(typo.out, "f2.nkp: тот же образ памяти уже в архиве как КС-1 № 7")) << typo.out;

    const struct {
        const char* args;
        int status;
        const char* says;  // on stdout, or stderr when the status is not 0
    } steps[] = {
        {"note @ КС-1 7 --kind full --date 31.01.2022 --text '=SUM(A1)' --author 'Петров\x1b[2J'", 0,
            "запись №4 добавлена"},
        {"note @ КС-1 7 --kind partial --date 15.06.2022 --text исправление --corrects 4", 0,
            "запись №5 добавлена"},
        {"note @ КС-1 7 --kind repair --date 15.06.2022 --text x --corrects 9", 1, "нет записи №9"},
        {"note @ КС-1 8 --kind repair --date 15.06.2022 --text x", 1, "no crane"},
        {"note @ КС-1 7 --kind reading --date 15.06.2022 --text x", 2, "usage"},
        {"note @ КС-1 7 --kind note --date 31.02.2022 --text x", 2, "usage"},
        {"note @ КС-1 7 --kind note --text x", 2, "usage"},
        {"set @ КС-1 7 --reading-months 6 --service-life-years 20", 0, "считывание: 6 мес."},
        {"set @ КС-1 7 --full-months 0", 2, "usage"},
        {"due @ --today 30.02.2023", 2, "usage"},
        {"log @ КС-1 7", 0, "Петров\\x1b[2J"},
        {"log @ КС-1 7 --csv @", 1, ""},
        {"due @ --today 01.03.2023 --within 200", 0,
            "КС-1;7;\"ООО \"\"Строймеханизация-7\"\"\";Считывание;01.01.2023;-59;просрочено\r\nКС-1;7;\"ООО "
            "\"\"Строймеханизация-7\"\"\";Частичное "
            "освидетельствование;15.06.2023;106;"
            "скоро\r\n"},
        {"check @ КС-1 7", 0, "тот же образ памяти уже в архиве как КС-1 № 7"},
    };
    for (const auto& s : steps) {
        // "@" stands for the archive.
        std::string args = s.args;
        for (std::size_t at; (at = args.find('@')) != std::string::npos;)
            args.replace(at, 1, a);
        const Outcome r = tool("archive " + args);
        EXPECT_EQ(r.status, s.status) << s.args << "\n" << r.out << r.err;
        EXPECT_TRUE(has(s.status == 0 ? r.out : r.err, s.says)) << s.args << "\n" << r.out << r.err;
    }

    // The log as a file: texts as they are, formulas guarded, the correction named.
    ASSERT_EQ(tool("archive log " + a + " КС-1 7 --csv '" + folder.path("log.csv") + "'").status, 0);
    const std::string log = fileText(folder.path("log.csv"));
    const std::string sha1 = nkp::archive::imageHash(f1), sha2 = nkp::archive::imageHash(f2);
    EXPECT_TRUE(has(log, "1;01.01.2022;Считывание;SHA-256 " + sha1.substr(0, 12) + ", файл f1.nkp;")) << log;
    EXPECT_TRUE(has(log, "2;01.07.2022;Замена ограничителя;ограничитель № 1111 заменён на № 2222;")) << log;
    EXPECT_TRUE(has(log, "3;01.07.2022;Считывание;SHA-256 " + sha2.substr(0, 12))) << log;
    EXPECT_TRUE(has(log, "4;31.01.2022;Полное техническое освидетельствование;'=SUM(A1);Петров\x1b[2J;"))
        << log;
    EXPECT_TRUE(has(log, ";исправлена записью №5\r\n5;15.06.2022;")) << log;
    EXPECT_FALSE(has(log, sha1.substr(0, 13))) << log;

    // Every crane's items: the full examination was corrected, so none is due.
    ASSERT_EQ(
        tool("archive due " + a + " --today 01.03.2023 --csv '" + folder.path("due.csv") + "'").status, 0);
    const std::string due = fileText(folder.path("due.csv"));
    EXPECT_TRUE(
        has(due, "КС-1;7;\"ООО \"\"Строймеханизация-7\"\"\";Полное освидетельствование;;;нет данных\r\n"))
        << due;

    const Outcome check = tool("archive check " + a);
    EXPECT_TRUE(
        has(check.out, "КС-1;70;01.07.2022 10:00;" + sha2 + ";тот же образ памяти уже в архиве как КС-1 № 7"))
        << check.out;

    // The report, numbers with the locale's separator.
    const std::string pdf = folder.path("report.pdf");
    const Outcome report
        = tool("archive report " + a + " КС-1 7 --pdf '" + pdf + "' --today 01.03.2023", "ru_RU.UTF-8");
    ASSERT_EQ(report.status, 0) << report.err;
    const auto text = nkp::test::runCommand("pdftotext '" + pdf + "' -");
    for (const std::string part : {"Отчёт по крану КС-1 № 7", "просрочено", "исправлена записью", "1100,0",
             sha1.c_str(), sha2.c_str(), "тот же образ памяти уже в архиве как КС-1 № 7"})
        EXPECT_TRUE(has(text.out, part)) << part << "\n" << text.out;
    EXPECT_EQ(tool("archive report " + a + " КС-1 7 --pdf " + a).status, 1);
}

}  // namespace
