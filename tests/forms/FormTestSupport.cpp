#include "FormTestSupport.h"

#include "Cp1251.h"
#include "base/Codec.h"
#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileWriter.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace nkp::forms::test {

std::vector<std::uint8_t> Readout::bytes() const
{
    return recorder::buildDataFile(image, id);
}

void Readout::put24(std::size_t offset, std::uint32_t value)
{
    for (int k = 0; k < 3; ++k)
        image.at(offset + static_cast<std::size_t>(k)) = static_cast<std::uint8_t>(value >> (8 * k));
}

void Readout::put32(std::size_t offset, std::uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        image.at(offset + static_cast<std::size_t>(k)) = static_cast<std::uint8_t>(value >> (8 * k));
}

std::uint32_t Readout::get24(std::size_t offset) const
{
    return image.at(offset) | image.at(offset + 1) << 8
        | static_cast<std::uint32_t>(image.at(offset + 2)) << 16;
}

std::uint32_t Readout::get32(std::size_t offset) const
{
    return get24(offset) | static_cast<std::uint32_t>(image.at(offset + 3)) << 24;
}

Readout makeReadout(std::uint64_t seed, int wrapIndex, std::uint8_t yearByte)
{
    generator::GeneratorOptions options;
    options.seed = seed;
    options.wrapIndex = wrapIndex;
    options.frameYear = yearByte;
    return {generator::generateImage(options), generator::generateIdentification(options)};
}

std::string cp(const char* utf8)
{
    return nkp::test::cp1251(utf8);
}

std::string dataFileBytes(const Lines& lines)
{
    std::string out;
    for (const auto& [key, value] : lines)
        out += "|0:" + key + ":" + value + "\r\n";
    return out;
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

StartFolder::StartFolder()
{
    static std::atomic<int> counter {0};
    root_ = std::filesystem::temp_directory_path()
        / ("nkp-forms-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(templates());
    std::filesystem::create_directories(documents());
    for (int form = 1; form <= 3; ++form) {
        const std::string name = "Форма " + std::to_string(form) + ".rtf";
        std::filesystem::copy_file(std::filesystem::path(NKP_TEMPLATES_DIR) / name, templates() / name);
    }
}

StartFolder::~StartFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::filesystem::path StartFolder::templates() const
{
    return root_ / "Шаблоны форм";
}

std::filesystem::path StartFolder::documents() const
{
    return root_ / "Формы";
}

std::string StartFolder::write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
{
    const auto path = root_ / name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

std::vector<std::filesystem::path> StartFolder::documentFiles() const
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(documents()))
        files.push_back(entry.path());
    return files;
}

FormRunner::FormRunner(const StartFolder& folder, bool mergeDocuments)
{
    if (!mergeDocuments)
        settings.engine
            = [this](const std::string& data, const std::string& templ, const std::string& document) {
                  merges.push_back({data, templ, document});
                  return Done {};
              };
    settings.folders = FormFolders::belowStartDirectory(folder.root().string());
    settings.decimalSeparator = ',';
    settings.clock = &clock;
    settings.openDocument = [this](const std::string& path) { opened.push_back(path); };
}

FormOutcome FormRunner::run(int form, std::optional<std::string> latest, std::optional<std::string> previous)
{
    prompts.fileAnswers = {std::move(latest), std::move(previous)};
    Createforms forms(
        state, prompts, [this] { return openReadingHeadless(state, prompts, ','); }, settings);
    Result<FormOutcome> outcome = forms.run(form);
    lastPreviousFrames = forms.previousFrames();
    failure.reset();
    if (outcome)
        return *outcome;
    failure = outcome.failure();
    return {FormResult::Failed, {}, {}};
}

}  // namespace nkp::forms::test
