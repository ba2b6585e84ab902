// The reading operation on scripted ports and a virtual clock: the order of
// the port calls, the timeouts, the silence that ends a transfer, the texts.
#include "FakeSerialPort.h"
#include "TestImages.h"

#include "base/Codec.h"
#include "device/DeviceReader.h"
#include "recorder/DataFileLayout.h"

#include <gtest/gtest.h>

using namespace nkp::device;
using namespace nkp::device::test;
using nkp::recorder::kImageSize;

namespace {

struct Shown : ReadingObserver {
    std::vector<std::string> texts;  // UTF-8
    std::vector<ReadingPhase> phases;
    std::vector<int> gauges;
    void statusText(const std::string& cp1251) override { texts.push_back(nkp::codec::cp1251ToUtf8(cp1251)); }
    void phase(ReadingPhase p) override { phases.push_back(p); }
    void gauge(int p) override { gauges.push_back(p); }
};

std::vector<PortSlot> comSlots(int count = 15)
{
    std::vector<PortSlot> out;
    for (int n = 0; n < count; ++n)
        out.push_back({"COM" + std::to_string(n), "dev" + std::to_string(n)});
    return out;
}

FakeDevice recorderDevice(std::vector<std::uint8_t> transfer)
{
    FakeDevice d;
    d.probeAnswer = 0xA0;
    d.transfer = {{5, std::move(transfer)}};
    return d;
}

struct Rig {
    VirtualClock clock;
    FakeSerialPort port {clock};
    Shown shown;
    DeviceReader reader;
    ReadingResult run(const std::vector<PortSlot>& portSlots)
    {
        return reader.read(portSlots, port, clock, shown);
    }
};

}  // namespace

TEST(DeviceReader, GoodReadingOnTheLastSlotFollowsTheProtocolAndWritesBackOnlyTheTimeouts)
{
    Rig rig;
    const auto image = nkp::test::checkedImage();
    rig.port.devices["dev14"] = recorderDevice(image);
    const ReadingResult r = rig.run(comSlots());

    EXPECT_EQ(r.outcome, ReadingOutcome::Success);
    EXPECT_EQ(r.portShortName, "COM14");
    EXPECT_EQ(r.bytesReceived, kImageSize);
    EXPECT_EQ(rig.reader.image(), image);
    EXPECT_TRUE(rig.reader.unsaved());
    for (int n = 0; n < 14; ++n)
        EXPECT_EQ(rig.port.log[static_cast<std::size_t>(n)], "open dev" + std::to_string(n));
    const std::vector<std::string> expected = {"open dev14", "line device", "timeouts 100", "sleep 300",
        "purge", "write 08", "purge", "timeouts 1200", "sleep 200", "write 02", "restore timeouts", "close"};
    EXPECT_EQ(std::vector<std::string>(rig.port.log.begin() + 14, rig.port.log.end()), expected);

    EXPECT_EQ(rig.shown.texts.front(), "Поиск устройства...");
    EXPECT_EQ(rig.shown.texts[1], "Опрашивается порт COM0...");
    const std::vector<std::string> tail(rig.shown.texts.end() - 3, rig.shown.texts.end());
    EXPECT_EQ(tail,
        (std::vector<std::string> {"НКП-3, подключен к порту COM14",
            "Считано 270336 байт. Расчет контрольной суммы...", "Считывание успешно завершено!"}));
    EXPECT_EQ(rig.shown.phases,
        (std::vector<ReadingPhase> {ReadingPhase::Searching, ReadingPhase::Transferring,
            ReadingPhase::Checking, ReadingPhase::Done}));
    EXPECT_EQ(*std::max_element(rig.shown.gauges.begin(), rig.shown.gauges.end()), 10);
    EXPECT_EQ(rig.shown.gauges.back(), 0);
}

TEST(DeviceReader, ChecksumOfZeroImagePassesAndOfErasedImageFails)
{
    {
        Rig rig;
        rig.port.devices["dev0"] = recorderDevice(std::vector<std::uint8_t>(kImageSize, 0));
        EXPECT_EQ(rig.run(comSlots()).outcome, ReadingOutcome::Success);
    }
    Rig rig;
    rig.port.devices["dev0"] = recorderDevice(std::vector<std::uint8_t>(kImageSize, 0xFF));
    EXPECT_EQ(rig.run(comSlots()).outcome, ReadingOutcome::ChecksumMismatch);
    EXPECT_EQ(rig.shown.texts.back(), "Несоответствие контрольной суммы!");
    EXPECT_EQ(rig.shown.phases.back(), ReadingPhase::ChecksumMismatch);
    EXPECT_TRUE(rig.reader.unsaved());  // a failed image may still be saved
}

TEST(DeviceReader, SilentPortCostsOneEmptyDrainAndOneProbeReadThenItsSettingsGoBack)
{
    Rig rig;
    rig.port.devices["dev0"] = FakeDevice {};
    const ReadingResult r = rig.run(comSlots(1));
    EXPECT_EQ(r.outcome, ReadingOutcome::NotFound);
    EXPECT_EQ(rig.clock.ms, 300 + 100 + 100);
    EXPECT_EQ(rig.port.log,
        (std::vector<std::string> {"open dev0", "line device", "timeouts 100", "sleep 300", "purge",
            "write 08", "restore line", "restore timeouts", "close"}));
    EXPECT_EQ(rig.shown.texts.back(), "Устройство не обнаружено! Опрошены порты: COM0");
    EXPECT_EQ(rig.shown.phases, std::vector<ReadingPhase> {ReadingPhase::Searching});
    EXPECT_FALSE(rig.reader.unsaved());
}

TEST(DeviceReader, StreamingPortIsDrainedForAtMost384ReadsThenProbed)
{
    FakeDevice streamer;
    Rig rig;
    rig.port.maxChunk = 1;
    streamer.stream = 0x3C;  // the probe's reply is the next byte of the stream
    rig.port.devices["dev0"] = streamer;
    rig.port.devices["dev1"] = recorderDevice(std::vector<std::uint8_t>(kImageSize, 0));
    const ReadingResult r = rig.run(comSlots(2));
    EXPECT_EQ(r.outcome, ReadingOutcome::Success);
    EXPECT_EQ(r.portShortName, "COM1");
    // 384 drain reads and the probe read on the first port; an empty drain
    // read and the probe read on the second, then the image byte by byte and
    // the empty read that ends it.
    EXPECT_EQ(rig.port.reads, 384u + 1u + 1u + 1u + kImageSize + 1u);
}

TEST(DeviceReader, ProbeWithoutReplyFailsEvenAfterADrainedAnswerByte)
{
    Rig rig;
    FakeDevice d;
    d.unsolicited = {0x11, 0xA0};
    d.transfer = {{0, nkp::test::checkedImage()}};
    rig.port.devices["dev0"] = d;
    EXPECT_EQ(rig.run(comSlots(1)).outcome, ReadingOutcome::NotFound);
}

TEST(DeviceReader, WrongTransferLengthsEndOnTheInterruptionPathWithSettingsWrittenBack)
{
    const std::vector<std::pair<std::size_t, std::size_t>> cases = {// sent, reported
        {kImageSize - 1, kImageSize - 1}, {0, 0}, {kImageSize + 64, kImageSize + 64}};
    for (const auto& [sent, reported] : cases) {
        Rig rig;
        std::vector<std::uint8_t> bytes(sent, 0x33);
        rig.port.devices["dev3"] = recorderDevice(bytes);
        const ReadingResult r = rig.run(comSlots());
        EXPECT_EQ(r.outcome, ReadingOutcome::Interrupted);
        EXPECT_EQ(r.bytesReceived, reported);
        EXPECT_EQ(rig.shown.texts.back(), "Считывание прервано на " + std::to_string(reported) + " байте!");
        EXPECT_EQ(rig.shown.texts[rig.shown.texts.size() - 2], "Ошибка считывания!");
        EXPECT_EQ(rig.shown.phases.back(), ReadingPhase::Failed);
        EXPECT_FALSE(rig.reader.unsaved());
        EXPECT_EQ(rig.reader.image().size(), kImageSize);
        const std::vector<std::string> tail(rig.port.log.end() - 3, rig.port.log.end());
        EXPECT_EQ(tail, (std::vector<std::string> {"restore line", "restore timeouts", "close"}));
    }
}

TEST(DeviceReader, TransferEndsOnlyAfter1200MsOfSilence)
{
    const auto image = nkp::test::checkedImage();
    const std::vector<std::uint8_t> first(image.begin(), image.begin() + 100000);
    const std::vector<std::uint8_t> rest(image.begin() + 100000, image.end());
    {
        Rig rig;  // a pause of 1.1 s inside the transfer is not its end
        FakeDevice d = recorderDevice(first);
        d.transfer.push_back({1100, rest});
        rig.port.devices["dev0"] = d;
        EXPECT_EQ(rig.run(comSlots(1)).outcome, ReadingOutcome::Success);
    }
    Rig rig;  // a pause of 1.3 s is
    FakeDevice d = recorderDevice(first);
    d.transfer.push_back({1300, rest});
    rig.port.devices["dev0"] = d;
    const long long before = rig.clock.ms;
    const ReadingResult r = rig.run(comSlots(1));
    EXPECT_EQ(r.outcome, ReadingOutcome::Interrupted);
    EXPECT_EQ(r.bytesReceived, 100000u);
    // search 300 + drain 100 + command 200 + first piece after 5 ms + 1200 ms of silence
    EXPECT_EQ(rig.clock.ms - before, 300 + 100 + 200 + 5 + 1200);
}

TEST(DeviceReader, FloodingDeviceEndsAfterABoundedSurplus)
{
    Rig rig;
    FakeDevice d = recorderDevice(nkp::test::checkedImage());
    for (int i = 0; i < 40; ++i)
        d.transfer.push_back({0, std::vector<std::uint8_t>(4096, 0x77)});
    rig.port.devices["dev0"] = d;
    const ReadingResult r = rig.run(comSlots(1));
    EXPECT_EQ(r.outcome, ReadingOutcome::Interrupted);
    EXPECT_EQ(r.bytesReceived, kImageSize + kMaxSurplusBytes);
    EXPECT_EQ(rig.reader.image(), nkp::test::checkedImage());
}

TEST(DeviceReader, OnlyFifteenSlotsAreSearchedAndANewReadingClearsTheFlag)
{
    Rig rig;
    auto portSlots = comSlots(16);
    rig.port.devices["dev15"] = recorderDevice(nkp::test::checkedImage());
    EXPECT_EQ(rig.run(portSlots).outcome, ReadingOutcome::NotFound);
    rig.port.devices["dev2"] = recorderDevice(nkp::test::checkedImage());
    EXPECT_EQ(rig.run(portSlots).outcome, ReadingOutcome::Success);
    EXPECT_TRUE(rig.reader.unsaved());
    rig.port.devices.erase("dev2");
    EXPECT_EQ(rig.run(portSlots).outcome, ReadingOutcome::NotFound);
    EXPECT_FALSE(rig.reader.unsaved());
    EXPECT_EQ(rig.reader.image(), nkp::test::checkedImage());  // the image is kept
}

TEST(DeviceReader, ProgressCountsTheTransferAndACancelStopsWithThePortBackAndClosed)
{
    struct Cancelling : Shown {
        std::vector<std::size_t> counts;
        std::size_t cancelAt = 0;  // 0: never
        void progress(std::size_t bytes) override { counts.push_back(bytes); }
        bool cancelRequested() const override
        {
            return cancelAt != 0 && !counts.empty() && counts.back() >= cancelAt;
        }
    };
    const auto image = nkp::test::checkedImage();
    {
        // A whole reading: every count grows, the last is the image's size.
        Rig rig;
        Cancelling seen;
        rig.port.devices["dev0"] = recorderDevice(image);
        EXPECT_EQ(rig.reader.read(comSlots(), rig.port, rig.clock, seen).outcome, ReadingOutcome::Success);
        ASSERT_GE(seen.counts.size(), 3U);
        EXPECT_EQ(seen.counts.front(), 0U);
        EXPECT_TRUE(std::is_sorted(seen.counts.begin(), seen.counts.end()));
        EXPECT_EQ(seen.counts.back(), kImageSize);
    }
    // Stopped after 8192 bytes of a good reading that was unsaved before.
    Rig rig;
    rig.port.devices["dev0"] = recorderDevice(image);
    rig.run(comSlots());
    ASSERT_TRUE(rig.reader.unsaved());
    rig.port.log.clear();
    Cancelling seen;
    seen.cancelAt = 8192;
    const ReadingResult r = rig.reader.read(comSlots(), rig.port, rig.clock, seen);
    EXPECT_EQ(r.outcome, ReadingOutcome::Cancelled);
    EXPECT_EQ(r.bytesReceived, 8192U);
    EXPECT_FALSE(rig.reader.unsaved());
    EXPECT_FALSE(rig.port.isOpen());
    // The device is told to stop (a probe byte) and the line drained before the port goes back.
    const std::vector<std::string> tail(rig.port.log.end() - 7, rig.port.log.end());
    EXPECT_EQ(tail,
        (std::vector<std::string> {
            "write 02", "timeouts 100", "write 08", "purge", "restore line", "restore timeouts", "close"}));
    EXPECT_EQ(seen.texts.back(), "Считывание прервано пользователем");
    EXPECT_EQ(seen.phases.back(), ReadingPhase::Cancelled);
    EXPECT_EQ(seen.gauges.back(), 0);

    // Stopped during the search: no further port is opened.
    struct Searching : Shown {
        bool cancelRequested() const override { return texts.size() >= 3; }  // after the second port's text
    } searching;
    FakeSerialPort silent {rig.clock};
    DeviceReader reader;
    EXPECT_EQ(reader.read(comSlots(), silent, rig.clock, searching).outcome, ReadingOutcome::Cancelled);
    EXPECT_EQ(std::count(silent.log.begin(), silent.log.end(), "open dev0")
            + std::count(silent.log.begin(), silent.log.end(), "open dev1"),
        2);
    EXPECT_EQ(std::count(silent.log.begin(), silent.log.end(), "open dev2"), 0);
    EXPECT_FALSE(silent.isOpen());
    EXPECT_EQ(searching.texts.back(), "Считывание прервано пользователем");
}
