#include "recorder/Frame.h"
#include "analysis/FrameFieldTexts.h"
#include "recorder/FrameStore.h"

#include <gtest/gtest.h>

using namespace nkp::recorder;
using namespace nkp::analysis;

namespace {

// 23 bytes as given, the check byte computed here independently of the code.
FrameBytes withCheck(FrameBytes f)
{
    unsigned sum = 0;
    for (int i = 0; i < 23; ++i)
        sum += f[static_cast<std::size_t>(i)];
    f[23] = static_cast<std::uint8_t>(~sum & 0xFF);
    return f;
}

// A record with the texts every view shows of it; the date of a frame
// decoded without a year is its day and month.
struct Shown : TFrameRecord {
    std::string Date, Time, DiscreteInputs, OutputRelays, Limits, ReevingMode, FaultCode, Status;
};

Shown shown(const TFrameRecord& r)
{
    Shown s {r, {}, {}, {}, {}, {}, {}, {}, {}};
    s.Date = r.isOk() && r.Year == 0 ? dayMonthText(r.clock()) : frameDateText(r);
    s.Time = frameTimeText(r);
    s.DiscreteInputs = bitText(r.DiscreteInputs);
    s.OutputRelays = bitText(r.OutputRelays);
    s.Limits = bitText(r.Limits);
    s.ReevingMode = reevingModeText(r);
    s.FaultCode = faultCodeText(r);
    s.Status = statusText(r.Status);
    return s;
}

Shown decoded(const FrameBytes& f, int index = 0)
{
    TFrameRecord r;
    clearRecord(r, index);
    decodeFrame(f, index, 0, r);
    return shown(r);
}

}  // namespace

TEST(Frame, CheckByte)
{
    FrameBytes erased;
    erased.fill(0xFF);
    EXPECT_FALSE(frameValid(erased));
    EXPECT_EQ(frameCheckByte(erased), 0x16);  // ~0xE9
    erased[23] = 0x16;
    EXPECT_TRUE(frameValid(erased));

    FrameBytes zeros {};
    EXPECT_FALSE(frameValid(zeros));
    zeros[23] = 0xFF;
    EXPECT_TRUE(frameValid(zeros));

    FrameBytes f = withCheck({0x12, 0x34, 0x56});
    EXPECT_TRUE(frameValid(f));
    f[22] ^= 1;
    EXPECT_FALSE(frameValid(f));
}

TEST(Frame, ZeroFrameDecodes)
{
    FrameBytes f {};
    f[23] = 0xFF;
    const Shown r = decoded(f, 17);
    EXPECT_EQ(r.Number, 17);
    EXPECT_EQ(r.Time, "00:00:00");
    EXPECT_EQ(r.Date, "00.00.");
    EXPECT_EQ(r.BoomLength, 0.0f);
    EXPECT_EQ(r.DiscreteInputs, "00000000");
    EXPECT_EQ(r.OutputRelays, "00000000");
    EXPECT_EQ(r.Limits, "00000000");
    EXPECT_EQ(r.ReevingMode, "0 0");
    EXPECT_EQ(r.FaultCode, "E00");
    EXPECT_EQ(r.LoadPercent, 0);
    EXPECT_EQ(r.Status, "\xCD\xEE\xF0\xEC\xE0");  // "Норма"
}

TEST(Frame, TimeAndDateReplacements)
{
    // seconds, minutes, hours, day, month
    EXPECT_EQ(decoded(withCheck({0x59, 0x59, 0x23, 0x31, 0x12})).Time, "23:59:59");
    EXPECT_EQ(decoded(withCheck({0x59, 0x59, 0x23, 0x31, 0x12})).Date, "31.12.");
    EXPECT_EQ(decoded(withCheck({0x00, 0x00, 0x24})).Time, "00:00:00");
    EXPECT_EQ(decoded(withCheck({0x00, 0x60, 0x10})).Time, "10:00:00");
    EXPECT_EQ(decoded(withCheck({0x60, 0x01, 0x01})).Time, "01:01:00");
    EXPECT_EQ(decoded(withCheck({0, 0, 0, 0x32, 0x05})).Date, "01.05.");
    EXPECT_EQ(decoded(withCheck({0, 0, 0, 0x05, 0x13})).Date, "05.01.");
    // Only the tens bits of each field count: bit 6 of the hours is ignored.
    EXPECT_EQ(decoded(withCheck({0, 0, 0x41})).Time, "01:00:00");
    // Bit 7 of the seconds and minutes is ignored too.
    EXPECT_EQ(decoded(withCheck({0x85, 0x86})).Time, "00:06:05");
    // Bits 5 to 7 of the month byte are ignored: 0xE2 is month 2 with tens 0.
    EXPECT_EQ(decoded(withCheck({0, 0, 0, 0x01, 0xE2})).Date, "01.02.");
}

TEST(Frame, NibblesAboveNine)
{
    // A units nibble of 15 gives two characters: "0" "15" reads as 15 and stays.
    EXPECT_EQ(decoded(withCheck({0, 0, 0, 0x0F, 0x01})).Date, "015.01.");
    // "1" "10" reads as 110: above 23, so "00".
    EXPECT_EQ(decoded(withCheck({0, 0, 0x1A})).Time, "00:00:00");
    EXPECT_EQ(decoded(withCheck({0, 0x0C, 0})).Time, "00:012:00");
    EXPECT_EQ(decoded(withCheck({0x5F, 0, 0})).Time, "00:00:00");
    // Month "0" "11" is 11: kept as three characters; "1" "10" is 110: "01".
    EXPECT_EQ(decoded(withCheck({0, 0, 0, 0x01, 0x0B})).Date, "01.011.");
    EXPECT_EQ(decoded(withCheck({0, 0, 0, 0x01, 0x1A})).Date, "01.01.");
    // Reeving, mode and fault code show each nibble's decimal text.
    FrameBytes f {};
    f[19] = 0xF3;
    f[22] = 0xAB;
    const Shown r = decoded(withCheck(f));
    EXPECT_EQ(r.ReevingMode, "15 3");
    EXPECT_EQ(r.FaultCode, "E1011");
}

TEST(Frame, NumbersAndBits)
{
    FrameBytes f {};
    f[5] = 0x34;  // boom length 0x1234 = 4660 -> 46.60 m
    f[6] = 0x12;
    f[7] = 0x10;  // angle: byte 8 of 0xFF adds only 768: (16 + 768) * 0.1
    f[8] = 0xFF;
    f[9] = 0xE8;  // pressure 1000 -> 100.0 atm
    f[10] = 0x03;
    f[11] = 0x0F;  // azimuth 3599 -> 359.9
    f[12] = 0x0E;
    f[13] = 0xFF;  // radius 65535 -> 655.35 m
    f[14] = 0xFF;
    f[15] = 0x39;  // load 12345 -> 123.45 t
    f[16] = 0x30;
    f[17] = 0x80;
    f[18] = 0x01;
    f[20] = 0x11;
    f[21] = 0xFF;
    const Shown r = decoded(withCheck(f));
    EXPECT_EQ(r.BoomLength, static_cast<float>(4660 * 0.01));
    EXPECT_EQ(r.BoomAngle, static_cast<float>(784 * 0.1));
    EXPECT_EQ(r.Pressure, 100.0f);
    EXPECT_EQ(r.Azimuth, static_cast<float>(3599 * 0.1));
    EXPECT_EQ(r.Radius, static_cast<float>(65535 * 0.01));
    EXPECT_EQ(r.LoadMass, static_cast<float>(12345 * 0.01));
    EXPECT_EQ(r.DiscreteInputs, "10000000");
    EXPECT_EQ(r.OutputRelays, "00000001");
    EXPECT_EQ(r.Limits, "00010001");  // wall entered (character 8) and tripped (character 4)
    EXPECT_EQ(r.LoadPercent, 255);
}

TEST(FrameStore, NewClearedAndDated)
{
    FrameStore store;
    ASSERT_EQ(store.size(), 11000u);
    EXPECT_EQ(store[10999].Number, 0);
    EXPECT_EQ(store[10999].Status, FrameStatus::Cleared);

    store.clear();
    const Shown c = shown(store[10999]);
    EXPECT_EQ(c.Number, 10999);
    EXPECT_EQ(c.Date, "01.01.1999");
    EXPECT_EQ(c.Time, "00:00:00");
    EXPECT_EQ(c.Limits, "00000000");
    EXPECT_EQ(c.ReevingMode, "");
    EXPECT_EQ(c.FaultCode, "0");
    EXPECT_EQ(c.Status, "");

    FrameBytes f {};
    f[3] = 0x07;
    f[4] = 0x03;
    decodeFrame(withCheck(f), 5, 2024, store[5]);
    store[6].Status = FrameStatus::Broken;
    EXPECT_EQ(shown(store[5]).Date, "07.03.2024");
    EXPECT_EQ(shown(store[6]).Date, "01.01.1999");
    EXPECT_EQ(shown(store[7]).Date, "01.01.1999");
    EXPECT_EQ(store[5].moment(), (nkp::base::DateTime {2024, 3, 7, 0, 0, 0}));

    // A decoded record cleared again loses everything it held.
    store.clear();
    EXPECT_EQ(shown(store[5]).Date, "01.01.1999");
    EXPECT_EQ(shown(store[5]).Status, "");
}

// The order key read through tables agrees with the clock's own fields for
// every value of each clock byte (the others those of 29.02 12:30:45), in a
// leap year and a common one; keys order the moments they stand for.
TEST(Frame, RealOrderKeyAgreesWithTheClock)
{
    const std::array<std::uint8_t, 5> base {0x45, 0x30, 0x12, 0x29, 0x02};
    for (const int year : {2024, 2023}) {
        for (std::size_t at = 0; at < base.size(); ++at) {
            std::optional<nkp::base::DateTime> previousMoment;
            std::int64_t previousKey = -1;
            for (unsigned v = 0; v < 256; ++v) {
                std::array<std::uint8_t, 5> b = base;
                b[at] = static_cast<std::uint8_t>(v);
                const FrameClock clock = frameClock(b.data());
                const std::int64_t key = realOrderKey(b.data(), year);
                const std::optional<nkp::base::DateTime> moment = frameMoment(clock, year);
                ASSERT_EQ(key, clock.real(year) ? clock.orderKey() : -1) << year << ' ' << at << ' ' << v;
                ASSERT_EQ(key >= 0, moment.has_value()) << year << ' ' << at << ' ' << v;
                if (moment && previousMoment) {
                    EXPECT_EQ(key < previousKey, *moment < *previousMoment) << year << ' ' << at << ' ' << v;
                }
                if (moment) {
                    previousMoment = moment;
                    previousKey = key;
                }
            }
        }
    }
}
