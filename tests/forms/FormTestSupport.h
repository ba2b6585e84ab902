#pragma once

#include "ScriptedUserPrompts.h"
#include "forms/Createforms.h"
#include "recorder/DataFileLayout.h"
#include "screen/MainState.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace nkp::forms::test {

// A generated read-out that a test may change before it is written.
struct Readout {
    std::vector<std::uint8_t> image;
    recorder::Identification id;

    std::vector<std::uint8_t> bytes() const;
    void put24(std::size_t offset, std::uint32_t value);
    void put32(std::size_t offset, std::uint32_t value);
    std::uint32_t get24(std::size_t offset) const;
    std::uint32_t get32(std::size_t offset) const;
};

Readout makeReadout(std::uint64_t seed, int wrapIndex, std::uint8_t yearByte = 0x24);

// Windows-1251 from UTF-8, for readable expectations.
std::string cp(const char* utf8);

using Lines = std::vector<std::pair<std::string, std::string>>;
// "|0:" key ":" value CR LF for every line.
std::string dataFileBytes(const Lines& lines);
std::string readFile(const std::filesystem::path& path);

// A start folder with "Шаблоны форм" (holding the three templates) and "Формы".
class StartFolder {
public:
    StartFolder();
    ~StartFolder();
    StartFolder(const StartFolder&) = delete;
    StartFolder& operator=(const StartFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path templates() const;
    std::filesystem::path documents() const;
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    // Every file in "Формы".
    std::vector<std::filesystem::path> documentFiles() const;

private:
    std::filesystem::path root_;
};

// Runs forms as the menu does, with the headless open operation, a fixed
// clock (8 April 2007 15:54) and the decimal comma. Without `mergeDocuments`
// the engine is replaced by one that only records its three paths.
struct FormRunner {
    explicit FormRunner(const StartFolder& folder, bool mergeDocuments = true);
    // A failed form gives Failed and leaves its failure in `failure`.
    FormOutcome run(int form, std::optional<std::string> latest, std::optional<std::string> previous = {});

    screen::MainState state;
    nkp::test::ScriptedUserPrompts prompts;
    std::vector<std::string> opened;               // documents handed to the desktop
    std::vector<std::vector<std::string>> merges;  // data, template, document of the recording engine
    base::SettableClock clock {base::DateTime {2007, 4, 8, 15, 54}};
    FormSettings settings;
    recorder::FrameStore lastPreviousFrames;
    std::optional<Failure> failure;
};

}  // namespace nkp::forms::test
