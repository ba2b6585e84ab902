// The crane archive: importing read-outs and listing the cranes, on SQLite
// (argument 0) and on a PostgreSQL server started for the run (argument 1);
// a click on a crane in the archive window until its history is shown.
#include "PostgresServer.h"
#include "RunTemp.h"
#include "ScriptedUserPrompts.h"

#include "archive/Archive.h"
#include "archive/ArchiveImport.h"
#include "archive/ArchiveOverview.h"
#include "archive/CraneTable.h"
#include "generator/HistoryGenerator.h"
#include "ui/archive/Archive.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using namespace nkp;

const std::filesystem::path& benchFolder()
{
    static const bench::RunTemp folder("nkp_bench_archive_");
    return folder.path;
}

test::PostgresServer* postgres()
{
    static test::PostgresServer server;
    return server.available() ? &server : nullptr;
}

// A fresh archive's address, or nothing when the backend is missing.
std::optional<std::string> freshLocation(int backend)
{
    static int n = 0;
    ++n;
    if (backend == 0)
        return (benchFolder() / ("archive_" + std::to_string(n) + ".sqlite")).string();
    test::PostgresServer* server = postgres();
    if (!server)
        return std::nullopt;
    return server->createDatabase("bench_" + std::to_string(n));
}

// 1000 read-outs of a few cranes, written once.
const std::vector<std::string>& generatedFiles()
{
    static const std::vector<std::string> files = [] {
        std::vector<std::string> out;
        for (std::uint64_t crane = 1; crane <= 4; ++crane) {
            generator::HistoryOptions options;
            options.seed = crane;
            options.count = 250;
            const auto dir = benchFolder() / ("crane" + std::to_string(crane));
            std::filesystem::create_directories(dir);
            generator::generateHistory(options, [&](generator::HistoryReadout&& r) {
                const auto path = dir / r.fileName;
                std::ofstream(path, std::ios::binary)
                    .write(reinterpret_cast<const char*>(r.bytes.data()),
                        static_cast<std::streamsize>(r.bytes.size()));
                out.push_back(path.string());
                return true;
            });
        }
        return out;
    }();
    return files;
}

void BM_ArchiveImport(benchmark::State& state)
{
    const auto& files = generatedFiles();
    for (auto _ : state) {
        state.PauseTiming();
        const auto location = freshLocation(static_cast<int>(state.range(0)));
        if (!location) {
            state.SkipWithError("no PostgreSQL server");
            return;
        }
        auto a = archive::Archive::open(*location, archive::OpenMode::CreateIfMissing);
        if (!a) {
            state.SkipWithError(a.error().c_str());
            return;
        }
        state.ResumeTiming();
        const archive::ImportReport report = archive::importFiles(**a, files);
        if (report.added != static_cast<int>(files.size())) {
            state.SkipWithError("not every read-out was added");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(files.size()));
    state.SetLabel(state.range(0) == 0 ? "SQLite" : "PostgreSQL");
}
// CPU time is that of every thread: reading and packing run in the thread pool.
BENCHMARK(BM_ArchiveImport)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// 1000 cranes with 10 read-outs each, added once per backend.
std::unique_ptr<archive::Archive> craneArchive(int backend, std::string* where = nullptr)
{
    const auto location = freshLocation(backend);
    if (!location)
        return nullptr;
    if (where)
        *where = *location;
    auto opened = archive::Archive::open(*location, archive::OpenMode::CreateIfMissing);
    if (!opened)
        return nullptr;
    std::unique_ptr<archive::Archive> a = std::move(*opened);
    archive::PreparedReadout p;
    p.compressed = {1, 2, 3, 4};
    p.owner = "OOO";
    p.normativeNumber = 63000;
    p.craneModel = "KS-55713";
    for (int crane = 0; crane < 1000; ++crane) {
        p.craneNumber = std::to_string(10000 + crane);
        p.limiterSerial = std::to_string(crane);
        for (int k = 0; k < 10; ++k) {
            char sha[65];
            std::snprintf(sha, sizeof sha, "%064d", crane * 10 + k);
            p.sha256 = sha;
            p.fileName = p.craneNumber + "_" + std::to_string(k) + ".nkp";
            p.readingMoment = base::DateTime {2020 + k / 4, 1 + (k % 4) * 3, 10, 9, 30, 0};
            p.readingText = "10.01.2020 09:30";
            p.characteristicNumber = 1000.0 + k * 350.0 + crane;
            p.totalCycles = 5000 + k * 1000;
            if (const auto added = a->add(p); !added || *added != archive::AddOutcome::Added)
                return nullptr;
        }
    }
    return a;
}

void BM_ArchiveCranes(benchmark::State& state)
{
    const auto a = craneArchive(static_cast<int>(state.range(0)));
    if (!a) {
        state.SkipWithError("the archive could not be filled");
        return;
    }
    for (auto _ : state) {
        auto readouts = a->readouts();
        if (!readouts) {
            state.SkipWithError(readouts.error().c_str());
            return;
        }
        const auto rows = archive::craneRows(std::move(*readouts));
        const auto cells = archive::craneTableCells(rows, ',');
        benchmark::DoNotOptimize(cells.data());
        if (rows.size() != 1000) {
            state.SkipWithError("wrong number of cranes");
            return;
        }
    }
    state.SetLabel(state.range(0) == 0 ? "SQLite" : "PostgreSQL");
}
BENCHMARK(BM_ArchiveCranes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every crane's due dates: 1000 cranes of 10 read-outs, each crane's log
// with three entries of examinations besides its readings.
void BM_ArchiveDue(benchmark::State& state)
{
    const auto a = craneArchive(static_cast<int>(state.range(0)));
    if (!a) {
        state.SkipWithError("the archive could not be filled");
        return;
    }
    const auto cranes = a->cranes();
    const archive::LogKind kinds[]
        = {archive::LogKind::PartialExamination, archive::LogKind::FullExamination, archive::LogKind::Repair};
    for (const archive::ArchivedCrane& crane : cranes.value_or(std::vector<archive::ArchivedCrane> {}))
        for (int k = 0; k < 3; ++k)
            if (!a->addLogEntry(
                    {crane.id, {2021 + k, 3, 1, 0, 0, 0}, kinds[k], "entry", {"bench", "1"}, {}})) {
                state.SkipWithError("the log could not be filled");
                return;
            }
    for (auto _ : state) {
        const auto rows = archive::dueList(*a, {2023, 6, 1, 0, 0, 0}, archive::kDefaultHorizonDays);
        if (!rows || rows->size() != 1000 * archive::kDueItemCount) {
            state.SkipWithError("wrong due list");
            return;
        }
        benchmark::DoNotOptimize(rows->data());
    }
    state.SetLabel(state.range(0) == 0 ? "SQLite" : "PostgreSQL");
}
BENCHMARK(BM_ArchiveDue)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Handles the window's events until `done` or ten seconds have passed.
bool processUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

// A click on a crane of the archive window (1000 × 10 read-outs) until its
// history table is filled: the session's query in its thread, the answer's
// way back and the table and chart filled.
void BM_ArchiveHistoryClick(benchmark::State& state)
{
    std::string location;
    if (!craneArchive(static_cast<int>(state.range(0)), &location)) {
        state.SkipWithError("the archive could not be filled");
        return;
    }
    test::ScriptedUserPrompts prompts;
    TForm_Archive window(prompts, QString::fromStdString(location), QString());
    window.show();
    auto* cranes = window.findChild<QTableView*>(QStringLiteral("Table_Cranes"));
    auto* history = window.findChild<QTableView*>(QStringLiteral("Table_History"));
    if (!cranes || !history) {
        state.SkipWithError("the archive window has no crane or history table");
        return;
    }
    if (!processUntil([&window] { return window.rows().size() == 1000; })) {
        state.SkipWithError("the cranes were not listed");
        return;
    }
    int row = 0;
    for (auto _ : state) {
        cranes->setCurrentIndex(window.view().index(row++ % 1000, 0));
        if (!processUntil([history] { return history->model()->rowCount() == 10; })) {
            state.SkipWithError("the history was not shown");
            return;
        }
    }
    state.SetLabel(state.range(0) == 0 ? "SQLite" : "PostgreSQL");
}
BENCHMARK(BM_ArchiveHistoryClick)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
