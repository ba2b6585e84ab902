// The form data files, byte for byte, against values the test works out
// from the read-outs' bytes itself.
#include "FormTestSupport.h"
#include "analysis/FrameFieldTexts.h"

#include "analysis/ReadoutLoader.h"
#include "forms/FormError.h"
#include "screen/MainStateLoad.h"

#include <gtest/gtest.h>

#include <compare>
#include <cstdio>
#include <optional>

namespace nkp::forms::test {
namespace {

using recorder::IdField;

constexpr std::size_t kMinutes = 264004, kCounters = 264011, kCharacteristic = 264026, kYear = 264109,
                      kMass = 264110;

std::string two(long long v)
{
    const std::string digits = std::to_string(v < 0 ? -v : v);
    return (v < 0 ? "-" : "") + (digits.size() < 2 ? "0" + digits : digits);
}

std::string timeText(long long minutes)
{
    return std::to_string(minutes / 60) + ":" + two(minutes % 60) + ":00";
}

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    for (char& c : s)
        if (c == '.')
            c = ',';
    return s;
}

std::string massText(std::int32_t hundredths)
{
    return fixed(hundredths * 0.01, 2) + cp(" т");
}

struct Moment {
    int year = 1999, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    auto operator<=>(const Moment&) const = default;
};

// The moment a frame's BCD bytes stand for, or nothing when it is no calendar moment.
std::optional<Moment> frameMoment(const std::vector<std::uint8_t>& file, std::size_t i, int year)
{
    const std::uint8_t* f = file.data() + 24 * i;
    auto field = [](std::uint8_t b, unsigned tensMask, int max, int replacement) -> std::optional<int> {
        const int units = b & 0x0F, tens = (b >> 4) & tensMask;
        if (units > 9)
            return std::nullopt;
        const int v = tens * 10 + units;
        return v > max ? replacement : v;
    };
    const auto s = field(f[0], 7, 59, 0), mi = field(f[1], 7, 59, 0), h = field(f[2], 3, 23, 0);
    const auto d = field(f[3], 3, 31, 1), mo = field(f[4], 1, 12, 1);
    if (!s || !mi || !h || !d || !mo || *d == 0 || *mo == 0)
        return std::nullopt;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (*d > kDays[*mo - 1] || (*mo == 2 && *d == 29 && !leap))
        return std::nullopt;
    return Moment {year, *mo, *d, *h, *mi, *s};
}

struct Newest {
    int index = 0;
    Moment moment;
};

Newest newestFrame(const std::vector<std::uint8_t>& file)
{
    std::vector<std::uint8_t> bytes = file;
    bytes.resize(std::max<std::size_t>(bytes.size(), 264200), 0);
    const std::uint8_t y = bytes[kYear];
    const int year = 2000 + ((y >> 4) > 9 ? 0 : (y >> 4)) * 10 + ((y & 15) > 9 ? 0 : (y & 15));
    Newest newest;
    for (std::size_t i = 0; i < 11000; ++i) {
        std::uint8_t sum = 0;
        for (std::size_t k = 0; k < 23; ++k)
            sum = static_cast<std::uint8_t>(sum + bytes[24 * i + k]);
        if (static_cast<std::uint8_t>(~sum) != bytes[24 * i + 23])
            continue;
        const auto m = frameMoment(bytes, i, year);
        if (m && newest.moment < *m)
            newest = {static_cast<int>(i), *m};
    }
    return newest;
}

// "dd.mm.yyyy hh:mm" of a moment, or "dd.mm.yyyy" at midnight to the second.
std::string shortText(const Moment& m)
{
    std::string text = two(m.day) + "." + two(m.month) + "." + std::to_string(m.year);
    if (m.hour || m.minute || m.second)
        text += " " + two(m.hour) + ":" + two(m.minute);
    return text;
}

// The texts that loading the latest read-out alone puts into the window.
screen::MainState loadedAlone(const std::string& path)
{
    screen::MainState state;
    EXPECT_TRUE(screen::loadReadout(path, ',', state));
    return state;
}

Lines identificationHead(const screen::MainState& l, const std::string& limiterYear)
{
    return {{"TipKrana", l.texts.craneModel}, {"IzgotKrana", l.texts.craneMaker},
        {"ZavNomerK", l.texts.craneNumber}, {"GodIzgotK", l.texts.craneYear},
        {"Vladelec", l.texts.craneOwner}, {"GruppaClass", l.texts.craneClassGroup},
        {"ModTPB", l.texts.limiterModel}, {"ZavNomerO", l.texts.limiterNumber}, {"GodIzgotO", limiterYear},
        {"IzgotTPB", l.texts.limiterMaker}, {"DateUstRP", l.texts.installationDate}};
}

Lines bandLines(const std::string& sum, const std::array<long long, 5>& bands, const screen::MainState& l)
{
    return {{"SumCicl", sum}, {"RCikl0", std::to_string(bands[0])}, {"RCikl10", std::to_string(bands[1])},
        {"RCikl20", std::to_string(bands[2])}, {"RCikl30", std::to_string(bands[3])},
        {"RCikl40", std::to_string(bands[4])}, {"DataPer1", l.texts.overload1},
        {"DataPer2", l.texts.overload2}, {"DataPer3", l.texts.overload3}, {"DataPer4", l.texts.overload4},
        {"DataPer5", l.texts.overload5}, {"DateTimeSchit", l.texts.readingDate}};
}

Lines operatorLines(const screen::MainState& l)
{
    return {{"NameOper", l.texts.engineerName}, {"OrgOper", l.texts.serviceOrganisation},
        {"NomUdost", l.texts.certificateNumber}, {"SrokUdost", l.texts.certificateDate}};
}

void append(Lines& to, const Lines& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

// The data file of Form 1 or 2 for these two read-outs.
std::string expectedPeriodFile(
    int form, const Readout& latest, const std::string& latestPath, const Readout& previous)
{
    const screen::MainState l = loadedAlone(latestPath);
    const std::vector<std::uint8_t> prevBytes = previous.bytes();
    std::array<long long, 5> bands {};
    long long sum = 0;
    for (std::size_t b = 0; b < 5; ++b) {
        bands[b]
            = static_cast<long long>(latest.get24(kCounters + 3 * b)) - previous.get24(kCounters + 3 * b);
        sum += bands[b];
    }
    const std::uint8_t* c = previous.image.data() + kCharacteristic;
    const float start
        = static_cast<float>(c[4] * 65536.0 + c[3] * 256.0 + c[2] + c[1] / 256.0 + c[0] / 65536.0);
    const std::string& latestSerial = latest.id[IdField::LimiterNumber];

    Lines lines = identificationHead(l, latestSerial.empty() ? "" : "200" + latestSerial.substr(0, 1));
    append(lines,
        {{"nMotoH", timeText(static_cast<long long>(latest.get24(kMinutes)) - previous.get24(kMinutes))},
            {"SumMas", massText(static_cast<std::int32_t>(latest.get32(kMass) - previous.get32(kMass)))},
            {"HHome", fixed(start, 1)}, {"HEnd", l.texts.characteristicNumber}});
    append(lines, bandLines(std::to_string(sum), bands, l));
    lines.push_back({"DateTimeSchitPrev", previous.id[IdField::ReadingDate].substr(0, 16)});
    if (form == 1) {
        const Newest prev = newestFrame(prevBytes);
        const std::string latestNewest = l.newestFrameTime.substr(0, 16);
        lines.push_back({"TimeIsp", shortText(prev.moment) + " - " + latestNewest});
        const int first = ((prev.index + 1) - l.newestFrame + 10998) % 11000;
        lines.push_back({"KadrIsp", std::to_string(first) + " - 10999"});
    }
    append(lines, operatorLines(l));
    return dataFileBytes(lines);
}

std::string expectedForm3File(const Readout& latest, const std::string& latestPath)
{
    const screen::MainState l = loadedAlone(latestPath);
    std::array<long long, 5> bands {};
    long long sum = 0;
    for (std::size_t b = 0; b < 5; ++b)
        sum += bands[b] = latest.get24(kCounters + 3 * b);
    const std::string& serial = latest.id[IdField::LimiterNumber];
    Lines lines = identificationHead(l, serial.empty() ? "" : "200" + serial.substr(0, 1));
    append(lines,
        {{"nMotoH", timeText(latest.get24(kMinutes))},
            {"SumMas", massText(static_cast<std::int32_t>(latest.get32(kMass)))},
            {"HTek", l.texts.characteristicNumber}, {"HNorm", l.texts.normativeNumber}});
    append(lines, bandLines(std::to_string(sum), bands, l));
    append(lines, operatorLines(l));
    return dataFileBytes(lines);
}

// A latest and a previous reading of one recorder: the previous one holds
// smaller counters, an older ring position and its own reading date.
struct ReadingPair {
    Readout latest = makeReadout(11, 7000);
    Readout previous = makeReadout(12, 3000);

    ReadingPair()
    {
        for (std::size_t b = 0; b < 5; ++b)
            previous.put24(kCounters + 3 * b, latest.get24(kCounters + 3 * b) / 3);
        previous.put24(kMinutes, latest.get24(kMinutes) / 2);
        previous.put32(kMass, latest.get32(kMass) / 4);
        // 157.96 as the recorder keeps it: 157 + 245/256 + 195/65536.
        const std::uint8_t start[5] = {195, 245, 157, 0, 0};
        std::copy(start, start + 5, previous.image.begin() + kCharacteristic);
        // Of the same crane and limiter, read out earlier.
        previous.id = latest.id;
        latest.id[IdField::ReadingDate] = "27.09.2024 15:32";
        previous.id[IdField::ReadingDate] = "02.03.2024 10:15";
    }
};

class FormDataFile : public ::testing::Test {
protected:
    std::string dataFile(int form) const
    {
        return readFile(folder.templates() / ("Форма " + std::to_string(form) + ".txt"));
    }

    StartFolder folder;
    ReadingPair pair;
};

TEST_F(FormDataFile, EachFormWritesEveryKeyInOrderInWindows1251WithCrLf)
{
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    const std::string previous = folder.write("previous.nkp", pair.previous.bytes());

    for (int form = 1; form <= 3; ++form) {
        SCOPED_TRACE(form);
        FormRunner runner(folder, false);
        const FormOutcome outcome = runner.run(form, latest, previous);
        ASSERT_EQ(outcome.result, FormResult::DocumentMade);
        const std::string expected = form == 3 ? expectedForm3File(pair.latest, latest)
                                               : expectedPeriodFile(form, pair.latest, latest, pair.previous);
        EXPECT_EQ(dataFile(form), expected);
    }
    // The key counts of the three forms.
    auto lineCount = [&](int form) {
        const std::string text = dataFile(form);
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_EQ(lineCount(1), 34);
    EXPECT_EQ(lineCount(2), 32);
    EXPECT_EQ(lineCount(3), 31);
    EXPECT_NE(dataFile(2).find("|0:HHome:158,0\r\n"), std::string::npos);
}

TEST_F(FormDataFile, PromptsAndWindowChangesOfForm1)
{
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    const std::string previous = folder.write("previous.nkp", pair.previous.bytes());
    FormRunner runner(folder, false);
    runner.run(1, latest, previous);

    const auto infos = runner.prompts.callsOf("information");
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(infos[0].text, "Выберите файл данных РП ТРВ-140 с последнего считывания!");
    EXPECT_EQ(infos[1].text, "Выберите файл данных РП ТРВ-140 с предыдущего считывания!");
    // The second dialog starts with the latest reading's file.
    ASSERT_EQ(runner.prompts.dialogs.size(), 2u);
    EXPECT_EQ(runner.prompts.dialogs[1].fileName, latest);

    // The period went into the document only: the window shows the latest
    // reading's own values, frames and ring again.
    EXPECT_NE(dataFile(1).find("|0:RCikl0:"
                  + std::to_string(pair.latest.get24(kCounters) - pair.previous.get24(kCounters)) + "\r\n"),
        std::string::npos);
    const screen::MainState alone = loadedAlone(latest);
    EXPECT_EQ(runner.state.RingStart, alone.RingStart);
    EXPECT_TRUE(runner.state.frames[5] == alone.frames[5]);
    EXPECT_EQ(runner.state.texts.cycles0, alone.texts.cycles0);
    EXPECT_EQ(runner.state.texts.operatingTime, alone.texts.operatingTime);
    EXPECT_EQ(runner.state.texts.liftedMass, alone.texts.liftedMass);
    EXPECT_EQ(runner.state.readout.totalCycles, alone.readout.totalCycles);
    EXPECT_EQ(runner.state.newestFrameTime, alone.newestFrameTime);
    EXPECT_EQ(runner.state.previousReadingDate, "02.03.2024 10:15");
    // The previous frames went to a store of their own, dated with their file's year.
    const auto& frames = runner.lastPreviousFrames;
    const auto valid = std::find_if(frames.begin(), frames.end(), [](const auto& r) { return r.isOk(); });
    ASSERT_NE(valid, frames.end());
    EXPECT_EQ(nkp::analysis::frameDateText(*valid).substr(6), "2024");
}

TEST_F(FormDataFile, SameFileTwiceGivesAnEmptyPeriod)
{
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    FormRunner runner(folder, false);
    runner.run(1, latest, latest);
    const std::string text = dataFile(1);
    for (const char* line : {"|0:SumCicl:0\r\n", "|0:RCikl0:0\r\n", "|0:RCikl40:0\r\n",
             "|0:nMotoH:0:00:00\r\n", "|0:KadrIsp:10999 - 10999\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_NE(text.find("|0:SumMas:0,00" + cp(" т") + "\r\n"), std::string::npos);
    const std::string newest = loadedAlone(latest).newestFrameTime.substr(0, 16);
    EXPECT_NE(text.find("|0:TimeIsp:" + newest + " - " + newest + "\r\n"), std::string::npos);
}

TEST_F(FormDataFile, APairThatMakesNoPeriodIsOfferedToSwapOrStopped)
{
    struct Case {
        const char* name;
        void (*change)(ReadingPair&);
        bool answer;         // to the one warning
        const char* reason;  // in the warning
        FormResult result;
        bool swapped;  // the document was made with the files swapped
    };
    const auto newer = [](ReadingPair& p) {
        p.previous.id[IdField::ReadingDate] = "28.09.2024 08:00";
        for (std::size_t b = 0; b < 5; ++b)
            p.previous.put24(kCounters + 3 * b, p.latest.get24(kCounters + 3 * b) + 7);
        p.previous.put24(kMinutes, p.latest.get24(kMinutes) + 65);
        p.previous.put32(kMass, p.latest.get32(kMass) + 150);
        std::copy_n(p.latest.image.begin() + kCharacteristic, 5, p.previous.image.begin() + kCharacteristic);
    };
    const Case cases[] = {
        {"swapped, swap", newer, true, "сделано позже последнего", FormResult::DocumentMade, true},
        {"swapped, stop", newer, false, "в обратном порядке", FormResult::PairRefused, false},
        {"other crane", [](ReadingPair& p) { p.previous.id[IdField::CraneNumber] = "999"; }, false,
            "разным кранам", FormResult::PairRefused, false},
        {"other crane, go on", [](ReadingPair& p) { p.previous.id[IdField::CraneModel] = "X"; }, true,
            "разным кранам", FormResult::DocumentMade, false},
        {"other limiter", [](ReadingPair& p) { p.previous.id[IdField::LimiterNumber] = "1"; }, false,
            "разных ограничителей", FormResult::PairRefused, false},
        {"counters fell", [](ReadingPair& p) { p.previous.put24(kMinutes, p.latest.get24(kMinutes) + 1); },
            false, "меньше, чем предыдущего", FormResult::PairRefused, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadingPair p;
        c.change(p);
        const std::string latest = folder.write("latest.nkp", p.latest.bytes());
        const std::string previous = folder.write("previous.nkp", p.previous.bytes());
        std::filesystem::remove(folder.templates() / "Форма 2.txt");
        FormRunner runner(folder, false);
        // The counters changed without the checksum: the damage question comes first.
        runner.prompts.warningAnswers = {true, c.answer};
        EXPECT_EQ(runner.run(2, latest, previous).result, c.result);
        const auto warnings = runner.prompts.callsOf("warning");
        ASSERT_FALSE(warnings.empty());
        EXPECT_NE(warnings.back().text.find(c.reason), std::string::npos) << warnings.back().text;
        const bool offersSwap = c.change == +newer;
        EXPECT_NE(
            warnings.back().text.find(offersSwap ? "Поменять их местами?" : "Составить документ всё равно?"),
            std::string::npos);
        // The window shows the reading it loaded last, its own values.
        const screen::MainState alone = loadedAlone(c.swapped ? previous : latest);
        EXPECT_EQ(runner.state.texts.cycles0, alone.texts.cycles0);
        EXPECT_EQ(runner.state.texts.operatingTime, alone.texts.operatingTime);
        if (c.result != FormResult::DocumentMade)
            EXPECT_FALSE(std::filesystem::exists(folder.templates() / "Форма 2.txt"));
        else if (c.swapped)
            EXPECT_EQ(dataFile(2), expectedPeriodFile(2, p.previous, previous, p.latest));
        else
            EXPECT_EQ(dataFile(2), expectedPeriodFile(2, p.latest, latest, p.previous));
    }
}

TEST_F(FormDataFile, ShortPreviousFileReadsZeros)
{
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    const std::string previous = folder.write("previous.nkp", std::vector<std::uint8_t>(100, 0x55));
    FormRunner runner(folder, false);
    ASSERT_EQ(runner.run(1, latest, previous).result, FormResult::DocumentMade);

    const std::string text = dataFile(1);
    const screen::MainState alone = loadedAlone(latest);
    EXPECT_NE(text.find("|0:nMotoH:" + alone.texts.operatingTime + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("|0:SumMas:" + alone.texts.liftedMass + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("|0:RCikl0:" + alone.texts.cycles0 + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("|0:HHome:0,0\r\n"), std::string::npos);
    EXPECT_NE(text.find("|0:DateTimeSchitPrev:\r\n"), std::string::npos);
    // No valid frame: the span starts at the search's initial moment.
    EXPECT_NE(text.find("|0:TimeIsp:01.01.1999 - "), std::string::npos);
}

TEST_F(FormDataFile, PreviousFileWithoutValidFramesStartsAt1999)
{
    for (std::size_t i = 0; i < 264000; ++i)
        pair.previous.image[i] = 0;  // every check byte fails
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    const std::string previous = folder.write("previous.nkp", pair.previous.bytes());
    FormRunner runner(folder, false);
    runner.run(1, latest, previous);

    EXPECT_EQ(runner.state.previousNewestFrameTime, "01.01.1999");
    const int newest = loadedAlone(latest).newestFrame;
    EXPECT_EQ(runner.state.firstTestPosition, (1 - newest + 10998) % 11000);
    EXPECT_EQ(dataFile(1), expectedPeriodFile(1, pair.latest, latest, pair.previous));
}

TEST_F(FormDataFile, RingPassedItsEndKeepsTheFirstPositionOnTheRing)
{
    pair.latest = makeReadout(11, 100);
    pair.previous = makeReadout(12, 9000);
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    const std::string previous = folder.write("previous.nkp", pair.previous.bytes());
    FormRunner runner(folder, false);
    runner.run(1, latest, previous);

    EXPECT_GE(runner.state.firstTestPosition, 0);
    EXPECT_LE(runner.state.firstTestPosition, 10999);
    EXPECT_EQ(dataFile(1), expectedPeriodFile(1, pair.latest, latest, pair.previous));
}

TEST_F(FormDataFile, PreviousFramesAreDatedWithTheirOwnYear)
{
    pair.previous = makeReadout(12, 3000, 0x09);
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    const std::string previous = folder.write("previous.nkp", pair.previous.bytes());
    FormRunner runner(folder, false);
    runner.run(1, latest, previous);
    EXPECT_NE(runner.state.previousNewestFrameTime.find(".2009"), std::string::npos);
    EXPECT_EQ(dataFile(1), expectedPeriodFile(1, pair.latest, latest, pair.previous));
}

TEST_F(FormDataFile, CancelledOrUnreadablePreviousWritesNothing)
{
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    const screen::MainState alone = loadedAlone(latest);
    {
        FormRunner runner(folder, false);
        EXPECT_EQ(runner.run(1, latest, std::nullopt).result, FormResult::Cancelled);
        EXPECT_TRUE(runner.prompts.callsOf("error").empty());
        EXPECT_EQ(runner.state.texts.cycles0, alone.texts.cycles0);  // the latest reading stays loaded
    }
    {
        FormRunner runner(folder, false);
        const auto missing = (folder.root() / "missing.nkp").string();
        EXPECT_EQ(runner.run(2, latest, missing).result, FormResult::PreviousNotOpened);
        const auto errors = runner.prompts.callsOf("error");
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].text, "\n Файл не удальсь открыть!");
        EXPECT_EQ(runner.state.texts.cycles0, alone.texts.cycles0);
        EXPECT_EQ(runner.state.texts.operatingTime, alone.texts.operatingTime);
        EXPECT_TRUE(runner.opened.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(folder.templates() / "Форма 1.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder.templates() / "Форма 2.txt"));
    EXPECT_TRUE(folder.documentFiles().empty());
}

TEST_F(FormDataFile, Form3AfterForm1WritesTotals)
{
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    const std::string previous = folder.write("previous.nkp", pair.previous.bytes());
    FormRunner runner(folder, false);
    runner.run(1, latest, previous);
    runner.prompts.calls.clear();
    runner.run(3, latest);
    EXPECT_EQ(dataFile(3), expectedForm3File(pair.latest, latest));
    const auto infos = runner.prompts.callsOf("information");
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].text, "Выберите файл данных РП ТРВ-140 для обработки!");

    // With the dialog cancelled right after Form 1, Form 3 writes what the window still shows.
    runner.run(1, latest, previous);
    runner.run(3, std::nullopt);
    EXPECT_NE(dataFile(3).find("|0:SumCicl:" + std::to_string(runner.state.readout.totalCycles) + "\r\n"),
        std::string::npos);
    EXPECT_NE(dataFile(3).find("|0:RCikl0:" + runner.state.texts.cycles0 + "\r\n"), std::string::npos);
}

TEST_F(FormDataFile, EmptyLimiterSerialGivesAnEmptyYear)
{
    pair.latest.id[IdField::LimiterNumber].clear();
    const std::string latest = folder.write("latest.nkp", pair.latest.bytes());
    FormRunner runner(folder, false);
    ASSERT_EQ(runner.run(3, latest).result, FormResult::DocumentMade);
    EXPECT_NE(dataFile(3).find("|0:ZavNomerO:\r\n|0:GodIzgotO:\r\n"), std::string::npos);

    pair.latest.id[IdField::LimiterNumber] = "70012345";
    folder.write("latest.nkp", pair.latest.bytes());
    runner.run(3, latest);
    EXPECT_NE(dataFile(3).find("|0:GodIzgotO:2007\r\n"), std::string::npos);
}

}  // namespace
}  // namespace nkp::forms::test
