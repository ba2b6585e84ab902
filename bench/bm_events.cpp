// The events of a read-out: episodes and load spectrum over a loaded model,
// the load with them, and the overload count the overviews take from bytes.
#include "analysis/Events.h"
#include "analysis/LoadBands.h"
#include "analysis/OverloadEpisodes.h"
#include "analysis/ReadoutLoader.h"
#include "generator/ReadoutGenerator.h"
#include "screen/MainStateLoad.h"

#include <benchmark/benchmark.h>

namespace {

const nkp::recorder::DataFileReader& generatedReadout()
{
    static const nkp::recorder::DataFileReader reader(nkp::generator::generateDataFile({}));
    return reader;
}

// What loading adds for the events tab: every episode and the spectrum.
void BM_Events(benchmark::State& state)
{
    nkp::screen::MainState model;
    nkp::screen::loadReadout(generatedReadout(), ',', model);
    for (auto _ : state) {
        const auto episodes = nkp::analysis::findEpisodes(model.frames, model.RingStart);
        const auto spectrum = nkp::analysis::loadSpectrum(model.frames, model.readout.cycleCounts);
        benchmark::DoNotOptimize(episodes.data());
        benchmark::DoNotOptimize(spectrum.validFrames);
    }
    state.counters["episodes"]
        = static_cast<double>(nkp::analysis::findEpisodes(model.frames, model.RingStart).size());
}
BENCHMARK(BM_Events)->Unit(benchmark::kMicrosecond)->Repetitions(10)->DisplayAggregatesOnly(true);

// The load from memory, with and without the events, to compare.
void BM_LoadFromMemory(benchmark::State& state)
{
    nkp::screen::MainState model;
    for (auto _ : state) {
        nkp::screen::loadReadout(generatedReadout(), ',', model);
        benchmark::DoNotOptimize(model.charts.param.front().y.data());
    }
}
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMicrosecond)->Repetitions(10)->DisplayAggregatesOnly(true);

void BM_LoadFromMemoryWithEvents(benchmark::State& state)
{
    nkp::screen::MainState model;
    for (auto _ : state) {
        nkp::screen::loadReadout(generatedReadout(), ',', model);
        const auto episodes = nkp::analysis::findEpisodes(model.frames, model.RingStart);
        const auto spectrum = nkp::analysis::loadSpectrum(model.frames, model.readout.cycleCounts);
        benchmark::DoNotOptimize(episodes.data());
        benchmark::DoNotOptimize(spectrum.validFrames);
    }
}
BENCHMARK(BM_LoadFromMemoryWithEvents)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->DisplayAggregatesOnly(true);

// The overview's count from the file's bytes, no frame decoded.
void BM_CountOverloadEpisodes(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(nkp::analysis::countOverloadEpisodes(generatedReadout()));
}
BENCHMARK(BM_CountOverloadEpisodes)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->DisplayAggregatesOnly(true);

}  // namespace
