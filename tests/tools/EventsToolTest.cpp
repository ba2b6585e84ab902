#include "EventImage.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using nkp::test::EventImage;
using nkp::test::runTool;

namespace {

class EventsTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / ("nkp_events_tool_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        EventImage img;
        img.load(10, 11, 104).fault(11, 11, 0x07).load(20, 20, 100).load(30, 30, 99);
        img.at(10).loadMass = 1234;
        img.at(20).radius = 1575;
        img.cycles(3, 1, 0, 0, 4);
        const std::vector<std::uint8_t> bytes = img.dataFile();
        std::ofstream(dir / "a.nkp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string path(const char* name) const { return "'" + (dir / name).string() + "'"; }
    std::string read(const char* name) const
    {
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::path dir;
};

const std::string kEventsHeader = "Событие;Первый кадр;Последний кадр;Кадров;Начало;Конец;Пик загрузки, %;"
                                  "Масса груза, т;Вылет, м;Длина стрелы, м\r\n";

// The expected text with '#' standing for the decimal separator.
std::string withSeparator(std::string text, char sep)
{
    for (char& c : text)
        if (c == '#')
            c = sep;
    return text;
}

}  // namespace

// The episodes in both locales' numbers, on stdout and in a file with a BOM.
TEST_F(EventsTool, EpisodesAsCsv)
{
    const std::string rows = kEventsHeader
        + "Перегрузка;10;11;2;01.03.2024 08:00:10;01.03.2024 08:00:11;104;12#34;5#00;12#00\r\n"
          "Отказ E07;11;11;1;01.03.2024 08:00:11;01.03.2024 08:00:11;104;1#00;5#00;12#00\r\n"
          "Перегрузка;20;20;1;01.03.2024 08:00:20;01.03.2024 08:00:20;100;1#00;15#75;12#00\r\n";
    const auto run = runTool("events " + path("a.nkp"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, withSeparator(rows, '.'));
    EXPECT_EQ(runTool("events " + path("a.nkp"), "ru_RU.UTF-8").out, withSeparator(rows, ','));

    const auto low
        = runTool("events " + path("a.nkp") + " --threshold 99 --csv " + path("e.csv"), "ru_RU.UTF-8");
    EXPECT_EQ(low.status, 0) << low.err;
    EXPECT_TRUE(low.out.empty());
    EXPECT_EQ(read("e.csv"),
        "\xEF\xBB\xBF"
            + withSeparator(
                rows + "Перегрузка;30;30;1;01.03.2024 08:00:30;01.03.2024 08:00:30;99;1#00;5#00;12#00\r\n",
                ','));
    EXPECT_EQ(runTool("events --threshold 105 " + path("a.nkp")).out,
        kEventsHeader + "Отказ E07;11;11;1;01.03.2024 08:00:11;01.03.2024 08:00:11;104;1.00;5.00;12.00\r\n");
}

TEST_F(EventsTool, SpectrumAsCsv)
{
    // 10996 quiet frames at 0 %, three at 100 to 104 %, one at 99 %.
    const std::string rows = "Степень загрузки, %;Кадров;Доля, %\r\n"
                             "0–9;10996;100#0\r\n10–19;0;0#0\r\n20–29;0;0#0\r\n30–39;0;0#0\r\n40–49;0;0#0\r\n"
                             "50–59;0;0#0\r\n60–69;0;0#0\r\n70–79;0;0#0\r\n80–89;0;0#0\r\n90–99;1;0#0\r\n"
                             "100–109;3;0#0\r\n110–119;0;0#0\r\n120 и более;0;0#0\r\nВсего;11000;100#0\r\n"
                             "Диапазон нагрузок;Рабочие циклы;Доля, %\r\n"
                             "0% < M < 12.5%;3;37#5\r\n12,5% < M < 25%;1;12#5\r\n25% < M < 50%;0;0#0\r\n"
                             "50% < M < 100%;0;0#0\r\n100% < M;4;50#0\r\nВсего;8;100#0\r\n";
    const auto run = runTool("spectrum " + path("a.nkp"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, withSeparator(rows, '.'));
    EXPECT_EQ(runTool("spectrum " + path("a.nkp") + " --csv " + path("s.csv"), "ru_RU.UTF-8").status, 0);
    EXPECT_EQ(read("s.csv"), "\xEF\xBB\xBF" + withSeparator(rows, ','));
}

// 0 done, 1 the read-out or the CSV file fails, 2 a wrong command line.
TEST_F(EventsTool, ExitStatuses)
{
    for (const char* command : {"events ", "spectrum "}) {
        const auto missing = runTool(command + path("missing.nkp"));
        EXPECT_EQ(missing.status, 1) << command;
        // The window's message, then the file and the system's reason.
        EXPECT_EQ(missing.err.rfind(" Файл не удальсь открыть!\n", 0), 0u) << missing.err;
        EXPECT_NE(
            missing.err.find("missing.nkp: cannot open: No such file or directory\n"), std::string::npos);
        EXPECT_EQ(runTool(command + path("a.nkp") + " --csv " + path("no/such/x.csv")).status, 1);
        // The read-out itself is never overwritten.
        const std::string before = read("a.nkp");
        EXPECT_EQ(runTool(command + path("a.nkp") + " --csv " + path("a.nkp")).status, 1);
        EXPECT_EQ(read("a.nkp"), before);
        EXPECT_EQ(runTool(command).status, 2);
        EXPECT_EQ(runTool(command + path("a.nkp") + " " + path("a.nkp")).status, 2);
        EXPECT_EQ(runTool(command + path("a.nkp") + " --csv").status, 2);
        EXPECT_EQ(runTool(command + path("a.nkp") + " --bogus 1").status, 2);
    }
    for (const char* bad : {"-1", "x", "", "10x", "1e3", "99999999999"})
        EXPECT_EQ(runTool("events " + path("a.nkp") + " --threshold '" + bad + "'").status, 2) << bad;
    EXPECT_EQ(runTool("events " + path("a.nkp") + " --threshold").status, 2);
    EXPECT_EQ(runTool("spectrum " + path("a.nkp") + " --threshold 5").status, 2);
}
