// Rendering the printouts of a full generated read-out to PDF.
#ifdef NKP_HAVE_PRINT

#include "analysis/ReadoutLoader.h"
#include "generator/ReadoutGenerator.h"
#include "print/PrintDocuments.h"
#include "recorder/DataFileReader.h"
#include "screen/MainState.h"
#include "screen/MainStateLoad.h"

#include <QBuffer>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

namespace {

const nkp::screen::MainState& loadedState()
{
    static const nkp::screen::MainState state = [] {
        nkp::screen::MainState s;
        const auto bytes = nkp::generator::generateDataFile({});
        nkp::screen::loadReadout(nkp::recorder::DataFileReader(bytes), ',', s);
        return s;
    }();
    return state;
}

// One PDF document in memory, as the preview's export writes it to a file.
template <typename Draw> void renderPdf(benchmark::State& st, Draw draw)
{
    const auto& state = loadedState();
    for (auto _ : st) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(600);
            if (!draw(writer, state))
                st.SkipWithError("render failed");
        }
        st.counters["bytes"] = static_cast<double>(buffer.size());
    }
}

void BM_PrintListing(benchmark::State& st)
{
    renderPdf(st, [](QPdfWriter& writer, const nkp::screen::MainState& state) {
        int pages = 0;
        const bool ok = nkp::print::printOperationalInfo(writer, state, {0, 10999}, ',', &pages);
        return ok && pages > 100;
    });
}
BENCHMARK(BM_PrintListing)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrintCard(benchmark::State& st)
{
    renderPdf(st, [](QPdfWriter& writer, const nkp::screen::MainState& state) {
        return nkp::print::printCardWithAppendix(writer, state);
    });
}
BENCHMARK(BM_PrintCard)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

#endif  // NKP_HAVE_PRINT
