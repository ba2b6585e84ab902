// The texts the windows show, built in the core: the frames table's cells,
// the load error log and the service area dump.
#include "Cp1251.h"
#include "analysis/FrameFieldTexts.h"

#include "analysis/FrameCodeText.h"
#include "analysis/FrameTableText.h"
#include "screen/HexDump.h"
#include "screen/LoadLogText.h"

#include <gtest/gtest.h>

using namespace nkp::analysis;
using namespace nkp::screen;
using nkp::test::cp1251;

TEST(LoadLogText, IndexRanges)
{
    EXPECT_EQ(condensedIndices({}), "");
    EXPECT_EQ(condensedIndices({17, 0, 1, 2, 3, 4, 5, 200, 201, 5}), "0-5, 17, 200-201");
    EXPECT_EQ(condensedIndices({-1, 0, 9}), "-1-0, 9");
}

TEST(LoadLogText, LinesForWhatLoadingMet)
{
    LoadDiagnostics d;
    d.fullLength = true;
    d.checksumMatches = true;
    EXPECT_EQ(loadErrorLogText(cp1251("кран.nkp"), d),
        cp1251("Файл: кран.nkp\nКонтрольная сумма образа памяти совпадает\nОшибок не обнаружено"));

    d.nonCalendarFrames = {3, 4};
    const std::string log = loadErrorLogText("a.nkp", d);
    EXPECT_NE(log.find(cp1251(": 2 (номера: 3-4)")), std::string::npos);
    EXPECT_EQ(log.find(cp1251("Ошибок не обнаружено")), std::string::npos);
    // With the oldest frame's index, each frame's table position follows, across the ring's end.
    const struct {
        std::vector<int> frames;
        int ringStart;
        const char* expected;
    } rings[] = {
        {{3, 4}, 0, ": 2 (номера: 3-4), в таблице: 3-4"},
        {{175}, 10000, ": 1 (номера: 175), в таблице: 1175"},
        {{10999, 0}, 10999, ": 2 (номера: 0, 10999), в таблице: 0-1"},
    };
    for (const auto& r : rings) {
        d.nonCalendarFrames = r.frames;
        EXPECT_NE(loadErrorLogText("a.nkp", d, r.ringStart).find(cp1251(r.expected)), std::string::npos)
            << r.expected;
    }

    LoadDiagnostics bad;
    bad.fileSize = 1000;
    bad.storedChecksum = 7;
    bad.computedChecksum = 1234567;
    bad.brokenFrames = {5, 1, 2};
    EXPECT_EQ(loadErrorLogText("b.nkp", bad),
        cp1251("Файл: b.nkp\n"
               "Размер файла 1000 байт, полный файл не короче 270337 байт; недостающие данные прочитаны как "
               "нули\n"
               "Контрольная сумма образа памяти не совпадает: записана 7, вычислена 1234567\n"
               "Кадров с ошибкой контрольной суммы: 3 (номера: 1-2, 5)"));
}

TEST(HexDump, SixteenBytesALine)
{
    std::vector<std::uint8_t> bytes(18);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(0x40 + i);
    bytes[1] = 0x00;
    bytes[17] = 0xE9;
    EXPECT_EQ(hexDump(bytes, 264000),
        "264000  40 00 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F  @.BCDEFGHIJKLMNO\n"
        "264016  50 E9                                            P.");
    // A short line keeps the columns: the missing bytes are blanks.
    EXPECT_EQ(hexDump({0x7F}, 5), "     5  7F " + std::string(15 * 3, ' ') + " .");
    EXPECT_EQ(hexDump({}, 0), "");
}

TEST(FrameTableText, BrokenColumnIsEmptyAndNumbersTakeTheSeparator)
{
    nkp::recorder::TFrameRecord r;
    r.Status = nkp::recorder::FrameStatus::Broken;
    r.ClockBytes = {0, 0, 0, 0x01, 0x02};  // 01.02.2024
    r.Year = 2024;
    const auto texts = [&r](char sep) {
        std::vector<std::string> out;
        for (int row = 0; row <= kFrameTableRows; ++row)  // one row past the table: empty
            out.push_back(frameCellText(r, 7, row, sep));
        return out;
    };
    for (const std::string& s : texts(','))
        EXPECT_TRUE(s.empty());
    r.Status = nkp::recorder::FrameStatus::Ok;
    r.BoomLength = 12.345f;
    r.LoadPercent = 95;
    const std::vector<std::string> comma = texts(',');
    EXPECT_EQ(comma[0], "7");
    EXPECT_EQ(comma[1], "01.02.2024");
    EXPECT_EQ(comma[4], "12,35");
    EXPECT_EQ(comma[kLoadPercentRow], "95");
    EXPECT_EQ(comma[15], statusText(r.Status));
    EXPECT_EQ(comma[kFrameTableRows], "");
    EXPECT_EQ(texts('.')[4], "12.35");
}

TEST(FrameTableText, LoadPercentHighlight)
{
    EXPECT_EQ(loadPercentHighlight(""), LoadHighlight::None);
    EXPECT_EQ(loadPercentHighlight("89"), LoadHighlight::None);
    EXPECT_EQ(loadPercentHighlight("90"), LoadHighlight::Yellow);
    EXPECT_EQ(loadPercentHighlight("99"), LoadHighlight::Yellow);
    EXPECT_EQ(loadPercentHighlight("100"), LoadHighlight::Red);
    EXPECT_EQ(loadPercentHighlight("99999999999999999999"), LoadHighlight::Red);
    EXPECT_EQ(loadPercentHighlight("-100"), LoadHighlight::None);
    EXPECT_EQ(loadPercentHighlight("-"), LoadHighlight::None);
    EXPECT_EQ(loadPercentHighlight("9x5"), LoadHighlight::None);
}

TEST(FrameCodeText, EachCodedRowDecodesItsBits)
{
    nkp::recorder::TFrameRecord r;
    r.DiscreteInputs = 0x05;
    r.OutputRelays = 0x00;
    r.Limits = 0x13;  // wall and ceiling entered, wall tripped
    r.FaultCode = 0x23;
    const struct {
        int row;
        const char* brief;
    } cases[] = {
        {kDiscreteInputsRow, "Дискретные входы 00000101: включены разряды 0, 2"},
        {kOutputRelaysRow, "Выходные реле 00000000: все разряды выключены"},
        {kLimitsRow, "Ограничения: введены — стена, потолок; сработали — стена"},
        {kFaultCodeRow, "Код отказа E23: отказ № 23"},
        {0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(frameCodeText(r, c.row).brief, cp1251(c.brief)) << c.row;
    r.Limits = 0xC8;  // right entered; left and right tripped
    EXPECT_EQ(frameCodeText(r, kLimitsRow).full,
        cp1251("Введенные/сработавшие ограничения 11001000\nвведены: поворот вправо\n"
               "сработали: поворот влево, поворот вправо"));
    r.FaultCode = 0;
    EXPECT_EQ(frameCodeText(r, kFaultCodeRow).brief, cp1251("Код отказа E00: отказов нет"));
}
