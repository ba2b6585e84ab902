// Form 1 from two read-outs in the page cache to the finished document: both
// loads, the period values, the frame pass, the data file and the merge,
// without dialogs and without opening the document.
#include "ScriptedUserPrompts.h"
#include "forms/Createforms.h"
#include "generator/ReadoutGenerator.h"
#include "screen/MainState.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void BM_Form1(benchmark::State& bench)
{
    const fs::path root = fs::temp_directory_path() / ("nkp-bench-forms-" + std::to_string(::getpid()));
    fs::create_directories(root / "Шаблоны форм");
    fs::create_directories(root / "Формы");
    fs::copy_file(fs::path(NKP_TEMPLATES_DIR) / "Форма 1.rtf", root / "Шаблоны форм" / "Форма 1.rtf",
        fs::copy_options::overwrite_existing);
    nkp::generator::GeneratorOptions options;
    options.seed = 1;
    options.wrapIndex = 8000;
    writeBytes(root / "latest.nkp", nkp::generator::generateDataFile(options));
    options.seed = 2;
    options.wrapIndex = 3000;
    writeBytes(root / "previous.nkp", nkp::generator::generateDataFile(options));

    nkp::screen::MainState state;
    nkp::test::ScriptedUserPrompts prompts;
    nkp::forms::FormSettings settings;
    settings.folders = nkp::forms::FormFolders::belowStartDirectory(root.string());
    const nkp::base::SettableClock clock {nkp::base::DateTime {2007, 4, 8, 15, 54}};
    settings.clock = &clock;
    nkp::forms::Createforms forms(
        state, prompts, [&] { return nkp::forms::openReadingHeadless(state, prompts, ','); }, settings);
    for (auto _ : bench) {
        prompts.fileAnswers = {(root / "latest.nkp").string(), (root / "previous.nkp").string()};
        prompts.calls.clear();
        prompts.dialogs.clear();
        const auto outcome = forms.N_CreateForma1Click();
        benchmark::DoNotOptimize(outcome);
    }
    fs::remove_all(root);
}
BENCHMARK(BM_Form1)->Unit(benchmark::kMillisecond);

}  // namespace
