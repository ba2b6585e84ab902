// Every failure of the engine: its message and the files it leaves.
#include "ReportFixture.h"

#include "SmallDisk.h"
#include "report/LineReader.h"

#include <filesystem>
#include <sys/stat.h>

namespace {
const char* const kStructure = "Ошибка в структуре файла шаблона и/или данных";
}

TEST_F(ReportFixture, SameTemplateAndReportNameTouchesNoFile)
{
    writeBytes(path("t"), "#A#");
    EXPECT_EQ(
        failureOfRun(path("missing data"), path("t"), path("t")), "Имена файлов шаблона и отчета совпадают.");
    EXPECT_EQ(readBytes(path("t")), "#A#");
}

TEST_F(ReportFixture, MissingTemplateCreatesNoReport)
{
    writeBytes(path("d"), "|0:A:1\n");
    EXPECT_EQ(failureOfRun(path("d"), path("no template"), path("r")), "Не открыт файл шаблона");
    EXPECT_FALSE(std::filesystem::exists(path("r")));
}

TEST_F(ReportFixture, ReportThatCannotBeOpenedStaysAsItWas)
{
    writeBytes(path("t"), "#A#");
    writeBytes(path("d"), "|0:A:1\n");
    std::filesystem::create_directory(path("r"));  // a folder in the report's place
    for (const std::string& report : {path("r"), path("no folder/r")})
        EXPECT_EQ(failureOfRun(path("d"), path("t"), report),
            "Не открыт файл отчета.\nВОЗМОЖНО НЕ ЗАКРЫТ СТАРЫЙ ОТЧЕТ.");
    EXPECT_TRUE(std::filesystem::is_directory(path("r")));
    EXPECT_FALSE(std::filesystem::exists(path("no folder")));
}

// A failed run leaves the report it describes only where that loses no older
// file: an existing report stays as it was.
TEST_F(ReportFixture, MissingDataFileLeavesAnEmptyReport)
{
    writeBytes(path("t"), "#A#");
    EXPECT_EQ(failureOfRun(path("no data"), path("t"), path("r")), "Не открыт файл данных");
    EXPECT_TRUE(std::filesystem::exists(path("r")));
    EXPECT_EQ(readBytes(path("r")), "");
    writeBytes(path("r"), "old report");
    EXPECT_EQ(failureOfRun(path("no data"), path("t"), path("r")), "Не открыт файл данных");
    EXPECT_EQ(readBytes(path("r")), "old report");
}

TEST_F(ReportFixture, UnpairedDelimiterLeavesAnEmptyReport)
{
    EXPECT_EQ(failureOf("a #A# b #B", "|0:A:1\n"), kStructure);
    EXPECT_TRUE(std::filesystem::exists(path("r")));
    EXPECT_EQ(readBytes(path("r")), "");
    writeBytes(path("r"), "old report");
    EXPECT_EQ(failureOf("a #A# b #B", "|0:A:1\n"), kStructure);
    EXPECT_EQ(readBytes(path("r")), "old report");
    // After a delimiter change only the new delimiter has to pair up.
    EXPECT_EQ(failureOf("#@$#a $A$ #", ""), "");
    EXPECT_EQ(failureOf("#@$#a $A$ $", ""), kStructure);
}

TEST_F(ReportFixture, GroupOutOfRangeKeepsWhatWasWritten)
{
    const std::string templ = "head\n#1#row #V#\n#1#foot";
    for (const std::string bad :
        {"|1000:V:b", "|-1:V:b", "|9999999999:V:b", "|99999999999999999999999:V:b"}) {
        EXPECT_EQ(failureOf(templ, "|1:V:a\n" + bad + "\n|1:V:c\n"), kStructure) << bad;
        EXPECT_EQ(readBytes(path("r")), "head\r\nrow a\r\n") << bad;
    }
    EXPECT_EQ(failureOf(templ, "|999:V:a\n|1:V:a\n"), "");
    // Over a good older report the failed run leaves that report.
    EXPECT_EQ(failureOf(templ, "|1:V:a\n|1:V:b\n"), "");
    EXPECT_EQ(failureOf(templ, "|1:V:x\n|1000:V:y\n"), kStructure);
    EXPECT_EQ(readBytes(path("r")), "head\r\nrow a\r\nrow b\r\nfoot");
}

TEST_F(ReportFixture, ProgressHookStopsTheRun)
{
    const auto stopAtThree = [](int n) { return n == 3 ? 1 : 0; };
    EXPECT_EQ(
        failureOf("#1#r#V#\n#1#end", "|1:V:a\n|1:V:b\n|1:V:c\n", stopAtThree), "Создание отчета прервано");
    EXPECT_EQ(readBytes(path("r")), "ra\r\nrb\r\n");
}

TEST_F(ReportFixture, FailedWriteIsReported)
{
    writeBytes(path("t"), "#1#row #V#\n#1#");
    std::string data;
    for (int i = 0; i < 5000; ++i)
        data += "|1:V:" + std::to_string(i) + "\n";
    writeBytes(path("d"), data);
    // A large report fails while rows are written, a small one when it is closed.
    SmallDisk disk("nkp_report_full");
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    writeBytes(disk.path("r"), "old report");
    disk.fill(1024);
    EXPECT_EQ(failureOfRun(path("d"), path("t"), disk.path("r")), "Ошибка записи в файл отчета");
    EXPECT_EQ(readBytes(disk.path("r")), "old report");
    EXPECT_EQ(disk.strayFiles("r"), 0u);
    // A small report fails when it is put in place.
    std::filesystem::remove(disk.path("filler"));
    disk.fill(0);
    writeBytes(path("d"), "|1:V:x\n");
    EXPECT_EQ(failureOfRun(path("d"), path("t"), disk.path("r")), "Ошибка записи в файл отчета");
    EXPECT_EQ(readBytes(disk.path("r")), "old report");
    EXPECT_EQ(disk.strayFiles("r"), 0u);
}

TEST_F(ReportFixture, ReportThatIsAnInputUnderAnyNameIsRefused)
{
    writeBytes(path("t"), "x #A# y");
    writeBytes(path("d"), "|0:A:1\n");
    std::filesystem::create_symlink("t", dir_ / "link");
    std::filesystem::create_hard_link(path("d"), path("hard"));
    const std::string same = "Имена файлов шаблона и отчета совпадают.";
    EXPECT_EQ(failureOfRun(path("d"), path("t"), (dir_ / "." / "t").string()), same);
    EXPECT_EQ(failureOfRun(path("d"), path("t"), path("link")), same);
    EXPECT_EQ(failureOfRun(path("d"), path("t"), path("d")), "Имена файлов данных и отчета совпадают.");
    EXPECT_EQ(failureOfRun(path("d"), path("t"), path("hard")), "Имена файлов данных и отчета совпадают.");
    EXPECT_EQ(readBytes(path("t")), "x #A# y");
    EXPECT_EQ(readBytes(path("d")), "|0:A:1\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link"));
}

TEST_F(ReportFixture, PipesAndDevicesNeverBlock)
{
    writeBytes(path("t"), "x #A# y");
    writeBytes(path("d"), "|0:A:1\n");
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    EXPECT_EQ(failureOfRun(path("d"), path("fifo"), path("r")), "Не открыт файл шаблона");
    EXPECT_EQ(failureOfRun(path("fifo"), path("t"), path("r")), "Не открыт файл данных");
    EXPECT_EQ(failureOfRun(path("d"), path("t"), path("fifo")),
        "Не открыт файл отчета.\nВОЗМОЖНО НЕ ЗАКРЫТ СТАРЫЙ ОТЧЕТ.");
    EXPECT_EQ(failureOfRun("/dev/zero", path("t"), path("r")), "Не открыт файл данных");
    EXPECT_EQ(failureOfRun(path("d"), path("t"), "/dev/full"),
        "Не открыт файл отчета.\nВОЗМОЖНО НЕ ЗАКРЫТ СТАРЫЙ ОТЧЕТ.");
    EXPECT_TRUE(std::filesystem::is_fifo(path("fifo")));
}

TEST_F(ReportFixture, ReportWithoutWritePermissionIsRefused)
{
    writeBytes(path("t"), "x #A# y");
    writeBytes(path("d"), "|0:A:1\n");
    writeBytes(path("r"), "read-only");
    std::filesystem::permissions(path("r"), std::filesystem::perms::owner_read);
    EXPECT_EQ(failureOfRun(path("d"), path("t"), path("r")),
        "Не открыт файл отчета.\nВОЗМОЖНО НЕ ЗАКРЫТ СТАРЫЙ ОТЧЕТ.");
    EXPECT_EQ(readBytes(path("r")), "read-only");
}

TEST_F(ReportFixture, EndlessLinesAreRefused)
{
    const std::string longLine(nkp::report::kMaxLineLength + 1, 'a');
    EXPECT_EQ(failureOf("x #A# y", "|0:A:1\n" + longLine), "Слишком длинная строка в файле данных");
    EXPECT_EQ(failureOf("x #A# y\n" + longLine, "|0:A:1\n"), "Слишком длинная строка в файле шаблона");
    // A line of exactly the bound is read.
    const std::string value(nkp::report::kMaxLineLength - 5, 'v');
    EXPECT_EQ(mergeBytes("#A#", "|0:A:" + value).size(), value.size());
}
