#include "analysis/FramesCsv.h"

#include "analysis/Selection.h"
#include "base/Codec.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace nkp::analysis;

namespace {

nkp::recorder::TFrameRecord record(int number, float load, int percent)
{
    nkp::recorder::TFrameRecord r;
    r.Number = number;
    r.ClockBytes = {0x12, 0x11, 0x10, 0x02, 0x03};  // 02.03.2024 10:11:12
    r.Year = 2024;
    r.BoomLength = 12.345f;
    r.BoomAngle = 45.06f;
    r.Pressure = 101.5f;
    r.Azimuth = 359.95f;
    r.Radius = 7.004f;
    r.LoadMass = load;
    r.DiscreteInputs = 0x01;
    r.OutputRelays = 0x80;
    r.ReevingMode = 0x21;
    r.Limits = 0x10;
    r.LoadPercent = percent;
    r.FaultCode = 0;
    r.Status = nkp::recorder::FrameStatus::Ok;
    return r;
}

}  // namespace

// The ring starts at record 10998: position 0 is record 10998, position 2 is record 0.
TEST(FramesCsv, CurrentOrderOrSelectionByteExact)
{
    MainState s;
    s.RingStart = 10998;
    s.loadedFrames = 11000;
    s.frames[10998] = record(10998, 3.5f, 40);
    // A broken frame is cleared: it shows the cleared texts whatever it held.
    nkp::recorder::clearRecord(s.frames[10999], 10999);
    s.frames[10999].Status = nkp::recorder::FrameStatus::Broken;
    s.frames[0] = record(0, 10.125f, 101);
    s.FrameOrder = {0, 1, 2};

    const std::string header
        = "Position;Number;Date;Time;BoomLength;BoomAngle;Pressure;Azimuth;Radius;LoadMass;"
          "DiscreteInputs;OutputRelays;ReevingMode;Limits;LoadPercent;FaultCode;Status\n";
    const std::string tail = ";00000001;10000000;2 1;00010000;";
    EXPECT_EQ(framesCsv(s, currentFramePositions(s), ','),
        header + "0;10998;02.03.2024;10:11:12;12,35;45,1;101,5;360,0;7,00;3,50" + tail + "40;E00;Норма\n"
            + "1;10999;01.01.1999;00:00:00;0,00;0,0;0,0;0,0;0,00;0,00;00000000;00000000;;00000000;0;0;Брак\n"
            + "2;0;02.03.2024;10:11:12;12,35;45,1;101,5;360,0;7,00;10,13" + tail + "101;E00;Норма\n");

    // A selection: only the selected positions, the -1 slots are not frames.
    s.FrameOrder.assign(11000, -1);
    s.FrameOrder[0] = 2;
    EXPECT_EQ(framesCsv(s, currentFramePositions(s), '.'),
        header + "2;0;02.03.2024;10:11:12;12.35;45.1;101.5;360.0;7.00;10.13" + tail + "101;E00;Норма\n");
    // The spreadsheet file ends every line with CR LF, the header's too.
    std::string crlfHeader = header;
    crlfHeader.insert(crlfHeader.size() - 1, "\r");
    EXPECT_EQ(framesCsv(s, currentFramePositions(s), '.', "\r\n"),
        crlfHeader + "2;0;02.03.2024;10:11:12;12.35;45.1;101.5;360.0;7.00;10.13" + tail
            + "101;E00;Норма\r\n");
    // The spreadsheet file's header: the frames table's captions, one per field.
    const std::string captions = framesCsv(s, {}, '.', "\n", FramesCsvHeader::TableCaptions);
    EXPECT_EQ(captions.rfind("Позиция;Номер кадра;Дата записи;Время записи;Длина стрелы, м;", 0), 0u);
    EXPECT_EQ(
        std::count(captions.begin(), captions.end(), ';'), std::count(header.begin(), header.end(), ';'));
    s.FrameOrder.assign(11000, -1);
    EXPECT_EQ(framesCsv(s, currentFramePositions(s), '.'), header);
    EXPECT_EQ(allFramePositions().size(), 11000u);
    EXPECT_EQ(allFramePositions().back(), 10999);
}
