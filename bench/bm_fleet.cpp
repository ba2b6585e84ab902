// The fleet overview over 1000 read-outs from the page cache, with one
// thread and with one thread per core.
#include "RunTemp.h"

#include "fleet/FleetScan.h"
#include "generator/ReadoutGenerator.h"

#include <benchmark/benchmark.h>

#include <QThread>
#include <QThreadPool>

#include <filesystem>
#include <fstream>

namespace {

constexpr int kReadouts = 1000;

// 1000 read-outs in ten subfolders, written once; later reads come from the page cache.
const std::string& fleetFolder()
{
    static const nkp::bench::RunTemp removed("nkp_bench_fleet_");
    static const std::string folder = [] {
        const auto& dir = removed.path;
        std::vector<std::vector<std::uint8_t>> files;
        for (std::uint64_t seed = 1; seed <= 10; ++seed) {
            nkp::generator::GeneratorOptions options;
            options.seed = seed;
            files.push_back(nkp::generator::generateDataFile(options));
        }
        for (int i = 0; i < kReadouts; ++i) {
            const auto sub = dir / ("d" + std::to_string(i % 10));
            std::filesystem::create_directories(sub);
            const std::vector<std::uint8_t>& bytes = files[static_cast<std::size_t>(i) % files.size()];
            std::ofstream(sub / ("r" + std::to_string(i) + ".nkp"), std::ios::binary)
                .write(
                    reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
        return dir.string();
    }();
    return folder;
}

// Listing and loading every read-out, with state.range(0) threads.
void BM_FleetScan(benchmark::State& state)
{
    const std::string& folder = fleetFolder();
    QThreadPool pool;
    pool.setMaxThreadCount(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto rows = nkp::fleet::scanFleet(folder, ',', pool);
        if (!rows || rows->size() != kReadouts)
            state.SkipWithError("scan failed");
        benchmark::DoNotOptimize(rows->data());
    }
    state.SetItemsProcessed(state.iterations() * kReadouts);
}
BENCHMARK(BM_FleetScan)
    ->Arg(1)
    ->Arg(QThread::idealThreadCount())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

}  // namespace
