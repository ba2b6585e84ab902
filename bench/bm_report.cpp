// The template engine on a table: a plain-text template with one repeated
// block, 100 plain fields and N group-1 data lines of five pairs each. The
// same table is rendered by Jinja2 in bench/jinja2_table.py for comparison.
#include "report/Reportfm.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int kPlainFields = 100;
constexpr int kColumns = 5;

std::string tableTemplate()
{
    std::string text = "Header\n";
    for (int k = 0; k < kPlainFields; ++k)
        text += "K" + std::to_string(k) + ": #K" + std::to_string(k) + "#\n";
    text += "#1#";
    for (int c = 1; c <= kColumns; ++c)
        text += (c > 1 ? ";" : "") + std::string("#C") + std::to_string(c) + "#";
    text += "\n#1#End\n";
    return text;
}

std::string tableData(int rows)
{
    std::string data;
    for (int k = 0; k < kPlainFields; ++k)
        data += "|0:K" + std::to_string(k) + ":value " + std::to_string(k) + "\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 1; c <= kColumns; ++c)
            data += "|1:C" + std::to_string(c) + ":r" + std::to_string(r) + "c" + std::to_string(c);
        data += "\n";
    }
    return data;
}

void BM_MergeTable(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const auto dir = std::filesystem::temp_directory_path() / ("nkp_bm_report_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string templ = (dir / "table.txt").string();
    const std::string data = (dir / "data.txt").string();
    const std::string report = (dir / "report.txt").string();
    std::ofstream(templ, std::ios::binary) << tableTemplate();
    std::ofstream(data, std::ios::binary) << tableData(rows);
    const nkp::base::SettableClock clock {nkp::base::DateTime {2007, 5, 1, 12, 0}};
    for (auto _ : state)
        if (!nkp::report::GenerateReport(data, templ, report, {}, clock)) {
            state.SkipWithError("the merge failed");
            break;
        }
    state.counters["rows"] = rows;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(data)));
    std::filesystem::remove_all(dir);
}

// Runs the engine on the given template and data in a temporary folder.
// Each run starts with the free memory of the heap handed back to the
// system, as in a new process: otherwise whether a run touches fresh pages
// (each first touch costs microseconds on a virtual machine) depends on
// where the allocator's give-back threshold happens to lie for the earlier
// runs, and the time jumps several times over between two sizes.
void mergeShape(
    benchmark::State& state, const std::string& templateText, const std::string& dataText, const char* name)
{
    const auto dir = std::filesystem::temp_directory_path()
        / (std::string("nkp_bm_") + name + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string templ = (dir / "template").string();
    const std::string data = (dir / "data.txt").string();
    const std::string report = (dir / "report").string();
    std::ofstream(templ, std::ios::binary) << templateText;
    std::ofstream(data, std::ios::binary) << dataText;
    const nkp::base::SettableClock clock {nkp::base::DateTime {2007, 5, 1, 12, 0}};
    for (auto _ : state) {
        state.PauseTiming();
        ::malloc_trim(0);
        state.ResumeTiming();
        if (!nkp::report::GenerateReport(data, templ, report, {}, clock)) {
            state.SkipWithError("the merge failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(templateText.size() + dataText.size()));
    std::filesystem::remove_all(dir);
}

// N distinct group-0 keys, each filling one of N fields of a plain template,
// in the template's order or from its middle outwards (every field then
// joins text that earlier fields made on both sides).
void manyKeys(benchmark::State& state, bool fromMiddle)
{
    const int n = static_cast<int>(state.range(0));
    std::string templ, data;
    for (int k = 0; k < n; ++k)
        templ += "F" + std::to_string(k) + "=#K" + std::to_string(k) + "#\n";
    const auto line
        = [&data](int k) { data += "|0:K" + std::to_string(k) + ":v" + std::to_string(k) + "\n"; };
    for (int k = 0; k < n; ++k) {
        if (!fromMiddle)
            line(k);
        else if (k % 2 == 0)
            line(n / 2 + k / 2);
        else
            line(n / 2 - 1 - k / 2);
    }
    mergeShape(state, templ, data, "many_keys");
    state.counters["keys"] = n;
}

void BM_MergeManyKeys(benchmark::State& state)
{
    manyKeys(state, false);
}

void BM_MergeManyKeysFromMiddle(benchmark::State& state)
{
    manyKeys(state, true);
}

// An RTF template of N group fields, each on a line of its own, and the
// first "}" after all of them.
void BM_MergeFarBrace(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::string templ = "{\\rtf1\\ansi\n";
    for (int k = 0; k < n; ++k)
        templ += "#1#\\par row " + std::to_string(k) + "\n";
    templ += "}\n";
    mergeShape(state, templ, "|1:A:x\n", "far_brace");
    state.counters["fields"] = n;
}

}  // namespace

BENCHMARK(BM_MergeTable)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeManyKeys)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeManyKeysFromMiddle)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeFarBrace)->Arg(250000)->Arg(500000)->Arg(1000000)->Unit(benchmark::kMillisecond);
