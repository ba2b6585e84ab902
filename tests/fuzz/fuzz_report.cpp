// Fuzzes the template engine: one input holds the template and the data file,
// split at the first byte 0xFF ("\xFF" never appears in either as written by
// the forms, and a template without it still gets an empty data file). A run
// must end, either with a report or with the engine's failure.
#include "report/Reportfm.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

const std::filesystem::path& workDir()
{
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("nkp_fuzz_report_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

void writeFile(const std::string& path, std::string_view bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\xFF');
    const std::string_view templ = input.substr(0, split);
    const std::string_view keyed
        = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    const std::string templatePath = (workDir() / "template").string();
    const std::string dataPath = (workDir() / "data").string();
    const std::string reportPath = (workDir() / "report").string();
    writeFile(templatePath, templ);
    writeFile(dataPath, keyed);
    static const nkp::base::SettableClock clock {nkp::base::DateTime {2007, 5, 1, 12, 0}};
    (void)nkp::report::GenerateReport(dataPath, templatePath, reportPath, {}, clock);
    return 0;
}
