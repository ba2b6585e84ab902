#include "Cp1251.h"
#include "FleetFolder.h"
#include "KeepError.h"

#include "analysis/ReadoutLoader.h"
#include "base/Codec.h"
#include "fleet/FleetRow.h"
#include "fleet/FleetScan.h"
#include "fleet/OverloadStamps.h"
#include "fleet/ReadoutListing.h"
#include "recorder/DataFileLayout.h"
#include "screen/MainStateFields.h"
#include "screen/MainStateLoad.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using nkp::test::keepError;

using namespace nkp;
using nkp::test::FleetFolder;

namespace {

constexpr auto cp = &nkp::test::cp1251;

const fleet::FleetRow& rowOf(const std::vector<fleet::FleetRow>& rows, const std::string& file)
{
    for (const fleet::FleetRow& r : rows)
        if (r.file == file)
            return r;
    throw std::runtime_error("no row " + file);
}

// Processes events until `done` holds or five seconds pass.
template <typename Done> bool waitFor(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

}  // namespace

// A damaged read-out carries the main window's warning as its remark; a
// whole image without the identification block is named as such.
TEST(FleetScan, DamagedRowsCarryTheWindowsWarning)
{
    FleetFolder f;
    const std::vector<std::uint8_t> good = FleetFolder::readout(4);
    f.write("short.nkp", std::vector<std::uint8_t>(good.begin(), good.begin() + 1000));
    std::vector<std::uint8_t> bytes = good;
    bytes.resize(300000, 0x20);
    f.write("long.nkp", bytes);
    bytes.assign(good.begin(), good.begin() + recorder::kIdentificationOffset);
    f.write("bare.nkp", bytes);
    f.write("empty.nkp", {});

    const auto row = [&](const char* name) { return fleet::loadFleetRow(f.dir.string(), name, ','); };
    const fleet::FleetRow shortRow = row("short.nkp");
    EXPECT_TRUE(shortRow.damaged);
    EXPECT_EQ(shortRow.remark,
        cp("Файл повреждён: файл короче полного считывания (1000 байт из 270337); контрольная сумма не "
           "совпадает"));
    const fleet::FleetRow longRow = row("long.nkp");
    EXPECT_TRUE(longRow.damaged);
    EXPECT_EQ(longRow.remark, cp("Файл повреждён: файл длиннее ожидаемого (300000 байт, не более 271653)"));
    const fleet::FleetRow bare = row("bare.nkp");
    EXPECT_FALSE(bare.damaged);
    EXPECT_EQ(bare.remark, cp("Нет блока идентификации"));
    const fleet::FleetRow empty = row("empty.nkp");
    EXPECT_TRUE(empty.damaged);
    EXPECT_NE(empty.remark.find(cp("нет ни одного исправного кадра")), std::string::npos);
    // The scratch state of a damaged row leaves nothing behind for the next.
    f.write("good.nkp", good);
    const fleet::FleetRow goodRow = row("good.nkp");
    EXPECT_FALSE(goodRow.damaged);
    EXPECT_EQ(goodRow.remark, "");
}

// Nested folders, a short file, a folder and a pipe named *.nkp, a file
// without access and a file of another kind: every *.nkp gets a row, the
// unreadable ones with their cause, in path order.
TEST(FleetScan, ListsEveryReadoutAndNamesWhatCannotBeRead)
{
    FleetFolder f;
    const std::vector<std::uint8_t> first = FleetFolder::readout(1);
    f.write("a.nkp", first);
    f.write("sub/b.nkp", FleetFolder::readout(2));
    f.write("sub/deeper/c.NKP", FleetFolder::readout(3));
    f.write("short.nkp", std::vector<std::uint8_t>(first.begin(), first.begin() + 1000));
    f.write("notes.txt", first);
    std::filesystem::create_directories(f.dir / "dir.nkp");
    ASSERT_EQ(::mkfifo(f.path("pipe.nkp").c_str(), 0600), 0);
    const bool root = ::geteuid() == 0;
    if (!root) {
        f.write("locked.nkp", first);
        std::filesystem::permissions(f.dir / "locked.nkp", std::filesystem::perms::none);
    }

    QThreadPool pool;
    pool.setMaxThreadCount(2);
    std::string error;
    const auto rows = keepError(fleet::scanFleet(f.dir.string(), ',', pool), error);
    ASSERT_TRUE(rows) << error;
    std::vector<std::string> files;
    for (const fleet::FleetRow& r : *rows)
        files.push_back(r.file);
    std::vector<std::string> expected
        = {"a.nkp", "dir.nkp", "pipe.nkp", "short.nkp", "sub/b.nkp", "sub/deeper/c.NKP"};
    if (!root)
        expected.insert(expected.begin() + 2, "locked.nkp");
    EXPECT_EQ(files, expected);

    // A good read-out shows what the main window's full load shows.
    screen::MainState full;
    ASSERT_TRUE(screen::loadReadout(f.path("a.nkp"), ',', full));
    const fleet::FleetRow& a = rowOf(*rows, "a.nkp");
    EXPECT_TRUE(a.loaded);
    EXPECT_EQ(a.path, f.path("a.nkp"));
    EXPECT_EQ(a.craneModel, full.texts.craneModel);
    EXPECT_EQ(a.craneNumber, full.texts.craneNumber);
    EXPECT_EQ(a.owner, full.texts.craneOwner);
    EXPECT_EQ(a.readingText, full.texts.readingDate);
    EXPECT_EQ(a.totalCycles, full.readout.totalCycles);
    EXPECT_EQ(a.utilisationClass + a.loadMode + a.craneGroup,
        full.texts.utilisationClass + full.texts.loadMode + full.texts.craneGroup);
    EXPECT_EQ(a.characteristicText, full.texts.characteristicNumber);
    EXPECT_EQ(a.normativeText, full.texts.normativeNumber);
    EXPECT_EQ(a.brokenFrames, 12u);  // the generator's default
    EXPECT_EQ(a.remark, "");
    EXPECT_FALSE(a.damaged);
    EXPECT_FALSE(a.craneModel.empty());

    const fleet::FleetRow& shortRow = rowOf(*rows, "short.nkp");
    EXPECT_TRUE(shortRow.loaded);
    EXPECT_NE(
        shortRow.remark.find(cp("файл короче полного считывания (1000 байт из 270337)")), std::string::npos);
    EXPECT_NE(shortRow.remark.find(cp("контрольная сумма не совпадает")), std::string::npos);

    EXPECT_FALSE(rowOf(*rows, "dir.nkp").loaded);
    EXPECT_EQ(rowOf(*rows, "dir.nkp").remark, cp("Это папка, а не файл"));
    EXPECT_FALSE(rowOf(*rows, "pipe.nkp").loaded);
    EXPECT_EQ(rowOf(*rows, "pipe.nkp").remark, cp("Не обычный файл (канал или устройство)"));
    if (!root) {
        EXPECT_FALSE(rowOf(*rows, "locked.nkp").loaded);
        EXPECT_EQ(rowOf(*rows, "locked.nkp").remark, cp("Файл не удалось открыть: нет доступа"));
    }
    EXPECT_TRUE(rowOf(*rows, "sub/deeper/c.NKP").loaded);

    // One thread gives the same rows.
    pool.setMaxThreadCount(1);
    const auto again = fleet::scanFleet(f.dir.string() + "/", ',', pool);
    ASSERT_TRUE(again);
    ASSERT_EQ(again->size(), rows->size());
    for (std::size_t i = 0; i < rows->size(); ++i)
        EXPECT_EQ((*again)[i].remark, (*rows)[i].remark) << (*rows)[i].file;

    // Neither a missing folder nor a file is a folder to scan.
    EXPECT_FALSE(keepError(fleet::scanFleet(f.path("missing"), ',', pool), error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_FALSE(fleet::listReadouts(f.path("a.nkp")));
}

// The light load used by the overview gives the same values as the main
// window's full load: every text, the counters and the diagnostics.
TEST(FleetScan, SummaryLoadMatchesTheFullLoad)
{
    FleetFolder f;
    std::vector<std::uint8_t> bytes = FleetFolder::readout(7);
    f.write("full.nkp", bytes);
    bytes.resize(200000);
    f.write("cut.nkp", bytes);
    for (const char* name : {"full.nkp", "cut.nkp"}) {
        screen::MainState full, summary;
        ASSERT_TRUE(screen::loadReadout(f.path(name), ',', full));
        ASSERT_TRUE(screen::loadReadoutSummary(f.path(name), ',', summary));
        for (const screen::TextField& field : screen::mainStateTextFields())
            EXPECT_EQ(summary.texts.*field.member, full.texts.*field.member) << name << ' ' << field.name;
        EXPECT_EQ(summary.readout.totalCycles, full.readout.totalCycles);
        EXPECT_EQ(summary.readout.characteristicNumber, full.readout.characteristicNumber);
        EXPECT_EQ(summary.readout.normativeNumber, full.readout.normativeNumber);
        EXPECT_EQ(summary.readout.diagnostics.brokenFrames, full.readout.diagnostics.brokenFrames);
        EXPECT_EQ(summary.readout.diagnostics.fileSize, full.readout.diagnostics.fileSize);
        EXPECT_EQ(summary.readout.diagnostics.checksumMatches, full.readout.diagnostics.checksumMatches);
        EXPECT_EQ(summary.fileName, name);
    }
}

TEST(FleetScan, OverloadsCountStampsThatHoldAMomentAndNameTheNewest)
{
    // Stamps as stored: minute, hour, day, month, year, in BCD.
    const auto stamp = [](std::uint8_t mi, std::uint8_t h, std::uint8_t d, std::uint8_t mo, std::uint8_t y) {
        return analysis::RecorderStamp {{mi, h, d, mo, y}};
    };
    analysis::Readout r;
    r.overloadStamps[0] = stamp(0x00, 0x00, 0x00, 0x00, 0x00);
    r.overloadStamps[1] = stamp(0x59, 0x23, 0x31, 0x12, 0x23);
    r.overloadStamps[2] = stamp(0x80, 0xC0, 0xC0, 0xE0, 0x00);  // unshown bits only: reads as zero
    r.overloadStamps[3] = stamp(0x01, 0x00, 0x01, 0x01, 0x24);
    r.overloadStamps[4] = stamp(0x30, 0x09, 0x15, 0x06, 0x23);
    fleet::OverloadSummary o = fleet::overloadSummary(r);
    EXPECT_EQ(o.count, 3);
    EXPECT_EQ(o.latest, "00:01 01.01.2024");
    EXPECT_EQ(o.latestMoment, (base::DateTime {2024, 1, 1, 0, 1, 0}));

    // A stamp that is no real moment still counts, but cannot be the newest.
    r.overloadStamps[3] = stamp(0x00, 0x25, 0x31, 0x02, 0x24);
    o = fleet::overloadSummary(r);
    EXPECT_EQ(o.count, 3);
    EXPECT_EQ(o.latest, "23:59 31.12.2023");

    r.overloadStamps[1] = r.overloadStamps[3] = r.overloadStamps[4] = {};
    o = fleet::overloadSummary(r);
    EXPECT_EQ(o.count, 0);
    EXPECT_EQ(o.latest, "");
}

// Cancelling stops the scan: after cancel() and wait() the loading future
// is finished and no thread of the scan's pool is active.
TEST(FleetScan, CancelLeavesNoThreadRunning)
{
    FleetFolder f;
    const std::vector<std::uint8_t> bytes = FleetFolder::readout(5);
    for (int i = 0; i < 300; ++i)
        f.write("r" + std::to_string(i) + ".nkp", bytes);

    fleet::FleetScan scan;
    scan.setThreadCount(2);
    int listed = -1, cancelled = 0, finished = 0;
    QObject::connect(&scan, &fleet::FleetScan::listed, [&](int n) { listed = n; });
    QObject::connect(&scan, &fleet::FleetScan::cancelled, [&] { ++cancelled; });
    QObject::connect(&scan, &fleet::FleetScan::finished, [&] { ++finished; });
    scan.start(f.dir.string(), ',');
    ASSERT_TRUE(waitFor([&] { return listed >= 0; }));
    EXPECT_EQ(listed, 300);
    scan.cancel();
    scan.wait();
    EXPECT_TRUE(scan.future().isFinished());
    EXPECT_EQ(scan.pool().activeThreadCount(), 0);
    EXPECT_FALSE(scan.isRunning());
    EXPECT_TRUE(waitFor([&] { return cancelled + finished > 0; }));
    EXPECT_LE(scan.rows().size(), 300u);

    // A scan run to its end delivers every row in listing order.
    listed = -1;
    cancelled = finished = 0;
    scan.start(f.dir.string(), ',');
    ASSERT_TRUE(waitFor([&] { return finished > 0; }));
    EXPECT_EQ(cancelled, 0);
    const std::vector<fleet::FleetRow> rows = scan.rows();
    ASSERT_EQ(rows.size(), 300u);
    EXPECT_EQ(rows[0].file, "r0.nkp");
    EXPECT_EQ(rows[1].file, "r1.nkp");
    EXPECT_EQ(rows[2].file, "r10.nkp");
    EXPECT_EQ(rows[299].file, "r99.nkp");

    // Cancelled while listing: no loading starts.
    cancelled = 0;
    scan.start(f.dir.string(), ',');
    scan.cancel();
    scan.wait();
    EXPECT_EQ(scan.pool().activeThreadCount(), 0);
    ASSERT_TRUE(waitFor([&] { return cancelled > 0; }));
    EXPECT_FALSE(scan.isRunning());
    EXPECT_TRUE(scan.rows().empty());

    // A folder that cannot be listed fails.
    QString failure;
    QObject::connect(&scan, &fleet::FleetScan::failed, [&](const QString& m) { failure = m; });
    scan.start(f.path("missing"), ',');
    EXPECT_TRUE(waitFor([&] { return !failure.isEmpty(); }));
}
