// Loading a read-out against one plain pass over the same file.
#include "RunTemp.h"

#include "analysis/ReadoutLoader.h"
#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"
#include "screen/MainStateLoad.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

// A generated read-out written once; later reads come from the page cache.
const std::string& readoutPath()
{
    static const nkp::bench::RunTemp removed("nkp_bench_", ".nkp");
    static const std::string path = [] {
        const auto& p = removed.path;
        nkp::generator::GeneratorOptions options;
        (void)nkp::recorder::writeDataFile(p.string(), nkp::generator::generateImage(options),
            nkp::generator::generateIdentification(options));
        return p.string();
    }();
    return path;
}

// Open, read the whole file, sum its bytes, close.
void BM_ReadAndSum(benchmark::State& state)
{
    const std::string& path = readoutPath();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        std::vector<unsigned char> bytes(static_cast<std::size_t>(std::filesystem::file_size(path)));
        std::size_t got = 0;
        for (ssize_t n = 0;
             got < bytes.size() && (n = ::read(fd, bytes.data() + got, bytes.size() - got)) > 0;)
            got += static_cast<std::size_t>(n);
        ::close(fd);
        std::uint64_t sum = 0;
        for (std::size_t i = 0; i < got; ++i)
            sum += bytes[i];
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadAndSum)->Unit(benchmark::kMicrosecond)->Repetitions(10)->DisplayAggregatesOnly(true);

// The whole load of the main window's model: identification, decoding,
// counters, classification, newest frame and every chart series.
void BM_LoadReadout(benchmark::State& state)
{
    const std::string& path = readoutPath();
    nkp::screen::MainState model;
    for (auto _ : state) {
        const bool ok = nkp::screen::loadReadout(path, ',', model).ok();
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(model.charts.param.front().y.data());
    }
}
BENCHMARK(BM_LoadReadout)->Unit(benchmark::kMicrosecond)->Repetitions(10)->DisplayAggregatesOnly(true);

}  // namespace
