// Every failure of the engine: its message and the files it leaves.
#include "ReportFixture.h"

#include <filesystem>

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

TEST_F(ReportFixture, MissingDataFileLeavesAnEmptyReport)
{
    writeBytes(path("t"), "#A#");
    writeBytes(path("r"), "old report");
    EXPECT_EQ(failureOfRun(path("no data"), path("t"), path("r")), "Не открыт файл данных");
    EXPECT_EQ(readBytes(path("r")), "");
}

TEST_F(ReportFixture, UnpairedDelimiterLeavesAnEmptyReport)
{
    writeBytes(path("r"), "old report");
    EXPECT_EQ(failureOf("a #A# b #B", "|0:A:1\n"), kStructure);
    EXPECT_EQ(readBytes(path("r")), "");
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
    EXPECT_EQ(failureOfRun(path("d"), path("t"), "/dev/full"), "Ошибка записи в файл отчета");
    writeBytes(path("d"), "|1:V:x\n");
    EXPECT_EQ(failureOfRun(path("d"), path("t"), "/dev/full"), "Ошибка записи в файл отчета");
}
