// The real QSerialPort link against the device emulator on pseudo-terminals.
#include "SimProcess.h"
#include "TestImages.h"

#include "base/Codec.h"
#include "device/DeviceReader.h"
#include "device/qt/QtSerialPortIo.h"
#include "recorder/DataFileLayout.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#ifdef NKP3_SIM_PATH

using namespace nkp::device;
using namespace nkp::device::test;
using nkp::recorder::kImageSize;
namespace fs = std::filesystem;

namespace {

struct Timed : ReadingObserver {
    QElapsedTimer clock;
    qint64 transferStart = -1;
    std::string last;
    void statusText(const std::string& cp1251) override
    {
        last = nkp::codec::cp1251ToUtf8(cp1251);
        if (last.rfind("НКП-3", 0) == 0)
            transferStart = clock.elapsed();
    }
    void phase(ReadingPhase) override { }
    void gauge(int) override { }
};

std::string writeImageFile(const std::string& name, const std::vector<std::uint8_t>& image)
{
    const fs::path p = fs::temp_directory_path() / (name + std::to_string(::getpid()) + ".nkp");
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return p.string();
}

std::vector<PortSlot> slotsWith(const std::vector<std::pair<std::size_t, std::string>>& placed)
{
    std::vector<PortSlot> out;
    for (std::size_t n = 0; n < 15; ++n)
        out.push_back({"ttyNone" + std::to_string(n), "/nonexistent/ttyNone" + std::to_string(n)});
    for (const auto& [n, path] : placed)
        out[n] = {"pty" + std::to_string(n), path};
    return out;
}

struct Reading {
    ReadingResult result;
    std::vector<std::uint8_t> image;
    qint64 afterTransferStartMs = -1;
};

Reading readFrom(const std::vector<PortSlot>& portSlots)
{
    QtSerialPortIo port;
    nkp::base::Clock& clock = nkp::base::systemClock();
    Timed timed;
    timed.clock.start();
    DeviceReader reader;
    Reading r;
    r.result = reader.read(portSlots, port, clock, timed);
    if (timed.transferStart >= 0)
        r.afterTransferStartMs = timed.clock.elapsed() - timed.transferStart;
    r.image = reader.image();
    EXPECT_FALSE(port.isOpen());
    return r;
}

}  // namespace

TEST(PtyReading, ImageArrivesByteExactOnTheFirstAndOnTheLastSlot)
{
    const auto image = nkp::test::checkedImage();
    const std::string file = writeImageFile("nkp_sim_image_", image);
    {
        SimProcess device(NKP3_SIM_PATH, {"--image", file});
        ASSERT_FALSE(device.path().empty());
        const Reading r = readFrom(slotsWith({{0, device.path()}}));
        EXPECT_EQ(r.result.outcome, ReadingOutcome::Success);
        EXPECT_EQ(r.result.portShortName, "pty0");
        EXPECT_TRUE(r.image == image);
        std::cout << "full reading over the pty: " << r.afterTransferStartMs
                  << " ms after the transfer started\n";
        EXPECT_GE(r.afterTransferStartMs, 1200);
    }
    SimProcess device(NKP3_SIM_PATH, {"--image", file});
    const Reading r = readFrom(slotsWith({{14, device.path()}}));
    EXPECT_EQ(r.result.outcome, ReadingOutcome::Success);
    EXPECT_EQ(r.result.portShortName, "pty14");
    fs::remove(file);
}

TEST(PtyReading, ErasedImageFailsTheChecksum)
{
    const std::string file = writeImageFile("nkp_sim_erased_", std::vector<std::uint8_t>(kImageSize, 0xFF));
    SimProcess device(NKP3_SIM_PATH, {"--image", file});
    const Reading r = readFrom(slotsWith({{0, device.path()}}));
    fs::remove(file);
    EXPECT_EQ(r.result.outcome, ReadingOutcome::ChecksumMismatch);
    EXPECT_EQ(r.result.bytesReceived, kImageSize);
}

TEST(PtyReading, ShortEmptyAndLongTransfersAreInterrupted)
{
    const std::vector<std::pair<std::vector<std::string>, std::size_t>> cases
        = {{{"--stop-after", "270335"}, 270335}, {{"--stop-after", "0"}, 0}, {{"--extra", "64"}, 270400}};
    for (const auto& [args, count] : cases) {
        SimProcess device(NKP3_SIM_PATH, args);
        const Reading r = readFrom(slotsWith({{0, device.path()}}));
        EXPECT_EQ(r.result.outcome, ReadingOutcome::Interrupted) << args[0];
        EXPECT_EQ(r.result.bytesReceived, count) << args[0];
        EXPECT_EQ(r.image.size(), kImageSize);
    }
}

// The resident memory of a process in KiB, from /proc.
long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// A surplus of a terabyte is sent as the line takes it, never built whole.
TEST(PtyReading, SurplusBytesAreStreamed)
{
    SimProcess device(NKP3_SIM_PATH, {"--extra", "1000000000000"});
    const int fd = ::open(device.path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios raw {};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(fd, TCSANOW, &raw);
    const std::uint8_t command = 0x02;
    ASSERT_EQ(::write(fd, &command, 1), 1);
    std::size_t received = 0;
    std::vector<std::uint8_t> buffer(65536);
    QElapsedTimer timer;
    timer.start();
    const std::size_t wanted = kImageSize + 4 * 1024 * 1024;
    while (received < wanted && timer.elapsed() < 60000) {
        pollfd pfd {fd, POLLIN, 0};
        if (::poll(&pfd, 1, 1000) <= 0)
            continue;
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n > 0)
            received += static_cast<std::size_t>(n);
    }
    EXPECT_GE(received, wanted);
    EXPECT_LT(residentKiB(device.pid()), 64 * 1024);
    ::close(fd);
}

TEST(PtyReading, PortsThatDoNotAnswerTheProbeAreSkipped)
{
    SimProcess wrong(NKP3_SIM_PATH, {"--probe-answer", "55"});
    SimProcess mute(NKP3_SIM_PATH, {"--no-answer"});
    SimProcess noisy(NKP3_SIM_PATH, {"--noise"});
    EXPECT_EQ(
        readFrom(slotsWith({{0, wrong.path()}, {1, mute.path()}})).result.outcome, ReadingOutcome::NotFound);

    SimProcess good(NKP3_SIM_PATH, {});
    const Reading r
        = readFrom(slotsWith({{0, noisy.path()}, {1, wrong.path()}, {2, mute.path()}, {3, good.path()}}));
    EXPECT_EQ(r.result.outcome, ReadingOutcome::Success);
    EXPECT_EQ(r.result.portShortName, "pty3");
}

TEST(PtyReading, DeviceThatDisappearsMidTransferEndsTheReading)
{
    auto device = std::make_unique<SimProcess>(NKP3_SIM_PATH, std::vector<std::string> {"--paced"});
    const auto portSlots = slotsWith({{0, device->path()}});
    QtSerialPortIo port;
    nkp::base::Clock& clock = nkp::base::systemClock();
    struct Killer : Timed {
        std::unique_ptr<SimProcess>* victim = nullptr;
        void gauge(int position) override
        {
            if (position == 0 && transferStart >= 0)
                victim->reset();  // the emulator ends mid-transfer
        }
    } killer;
    killer.victim = &device;
    killer.clock.start();
    DeviceReader reader;
    const ReadingResult r = reader.read(portSlots, port, clock, killer);
    EXPECT_EQ(r.outcome, ReadingOutcome::Interrupted);
    EXPECT_LT(r.bytesReceived, kImageSize);
    EXPECT_FALSE(port.isOpen());
}

#ifdef NKP3_TOOL_PATH
TEST(PtyReading, CancelledPacedTransferRestoresAndClosesThePort)
{
    const auto image = nkp::test::checkedImage();
    const std::string file = writeImageFile("nkp_sim_paced_", image);
    SimProcess device(NKP3_SIM_PATH, {"--paced", "--image", file});
    const auto portSlots = slotsWith({{0, device.path()}});
    QtSerialPortIo port;
    nkp::base::Clock& clock = nkp::base::systemClock();
    struct Stopper : Timed {
        std::size_t received = 0;
        void progress(std::size_t bytes) override { received = bytes; }
        bool cancelRequested() const override { return received >= 2000; }
    } stopper;
    stopper.clock.start();
    DeviceReader reader;
    const ReadingResult r = reader.read(portSlots, port, clock, stopper);
    EXPECT_EQ(r.outcome, ReadingOutcome::Cancelled);
    EXPECT_GE(r.bytesReceived, 2000U);
    EXPECT_LT(r.bytesReceived, kImageSize);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(reader.unsaved());
    EXPECT_EQ(stopper.last, "Считывание прервано пользователем");
    // The port can be opened again at once: nothing holds it.
    {
        QtSerialPortIo again;
        EXPECT_TRUE(again.open(device.path()));
    }
    // A reading started at once finds the device: no byte of the stopped
    // transfer is taken for the probe's answer.
    struct Again : Stopper {
        bool cancelRequested() const override { return received >= 8000; }
    } second;
    const ReadingResult next = reader.read(portSlots, port, clock, second);
    EXPECT_EQ(next.outcome, ReadingOutcome::Cancelled) << second.last;
    EXPECT_EQ(next.portShortName, "pty0");
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 8000, reader.image().begin()));
    fs::remove(file);
}

TEST(PtyReading, ToolReadSavesWithTheIdentificationAndReportsTheOutcome)
{
    const fs::path dir = fs::temp_directory_path() / ("nkp_tool_read_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path inf = dir / "crane.inf";
    std::ofstream(inf, std::ios::binary)
        << "Org\r\nOp\r\n1\r\n01.01.2030\r\nKS\r\n77\r\n2001\r\nA1\r\nM\r\nO\r\nL\r\n5\r\n42\r\n";
    const std::string erased
        = writeImageFile("nkp_tool_erased_", std::vector<std::uint8_t>(kImageSize, 0xFF));
    auto run = [&](std::vector<std::string> simArgs, const fs::path& out) {
        SimProcess device(NKP3_SIM_PATH, std::move(simArgs));
        const std::string command = std::string(NKP3_TOOL_PATH) + " read --port " + device.path() + " --inf "
            + inf.string() + " " + out.string() + " >/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run({}, dir / "good.nkp"), 0);
    std::ifstream in(dir / "good.nkp", std::ios::binary);
    const std::string bytes {std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes.size(), 270629u + 2u);
    EXPECT_EQ(bytes.substr(270337, 4), std::string("Org") + '\0');
    EXPECT_EQ(bytes.substr(270629), "42");

    EXPECT_EQ(run({"--image", erased}, dir / "erased.nkp"), 3);
    EXPECT_TRUE(fs::exists(dir / "erased.nkp"));  // saved all the same
    EXPECT_EQ(run({"--stop-after", "1000"}, dir / "short.nkp"), 1);
    EXPECT_FALSE(fs::exists(dir / "short.nkp"));
    fs::remove(erased);
    fs::remove_all(dir);
}
#endif

#endif
