#include "forms/FormKeys.h"

#include "base/RegularFile.h"

#include <stdexcept>

namespace nkp::forms {
namespace {

using screen::MainState;
using screen::MainTexts;

// Which forms write a key: bit 0 Form 1, bit 1 Form 2, bit 2 Form 3.
enum FormMask : unsigned { F1 = 1, F2 = 2, F3 = 4, F12 = F1 | F2, F123 = F1 | F2 | F3 };

enum class Source { Text, TotalCycles, LimiterYear, PreviousDate, StartCharacteristic, TestSpan, FrameRange };

struct KeyEntry {
    std::string_view key;
    unsigned forms;
    Source source;
    std::string MainTexts::*text = nullptr;  // for Source::Text
};

// The three key tables merged in their common order; each form takes the
// rows that carry its bit.
constexpr KeyEntry kKeys[] = {
    {"TipKrana", F123, Source::Text, &MainTexts::craneModel},
    {"IzgotKrana", F123, Source::Text, &MainTexts::craneMaker},
    {"ZavNomerK", F123, Source::Text, &MainTexts::craneNumber},
    {"GodIzgotK", F123, Source::Text, &MainTexts::craneYear},
    {"Vladelec", F123, Source::Text, &MainTexts::craneOwner},
    {"GruppaClass", F123, Source::Text, &MainTexts::craneClassGroup},
    {"ModTPB", F123, Source::Text, &MainTexts::limiterModel},
    {"ZavNomerO", F123, Source::Text, &MainTexts::limiterNumber},
    {"GodIzgotO", F123, Source::LimiterYear},
    {"IzgotTPB", F123, Source::Text, &MainTexts::limiterMaker},
    {"DateUstRP", F123, Source::Text, &MainTexts::installationDate},
    {"nMotoH", F123, Source::Text, &MainTexts::operatingTime},
    {"SumMas", F123, Source::Text, &MainTexts::liftedMass},
    {"HHome", F12, Source::StartCharacteristic},
    {"HEnd", F12, Source::Text, &MainTexts::characteristicNumber},
    {"HTek", F3, Source::Text, &MainTexts::characteristicNumber},
    {"HNorm", F3, Source::Text, &MainTexts::normativeNumber},
    {"SumCicl", F123, Source::TotalCycles},
    {"RCikl0", F123, Source::Text, &MainTexts::cycles0},
    {"RCikl10", F123, Source::Text, &MainTexts::cycles12},
    {"RCikl20", F123, Source::Text, &MainTexts::cycles25},
    {"RCikl30", F123, Source::Text, &MainTexts::cycles50},
    {"RCikl40", F123, Source::Text, &MainTexts::cycles100},
    {"DataPer1", F123, Source::Text, &MainTexts::overload1},
    {"DataPer2", F123, Source::Text, &MainTexts::overload2},
    {"DataPer3", F123, Source::Text, &MainTexts::overload3},
    {"DataPer4", F123, Source::Text, &MainTexts::overload4},
    {"DataPer5", F123, Source::Text, &MainTexts::overload5},
    {"DateTimeSchit", F123, Source::Text, &MainTexts::readingDate},
    {"DateTimeSchitPrev", F12, Source::PreviousDate},
    {"TimeIsp", F1, Source::TestSpan},
    {"KadrIsp", F1, Source::FrameRange},
    {"NameOper", F123, Source::Text, &MainTexts::engineerName},
    {"OrgOper", F123, Source::Text, &MainTexts::serviceOrganisation},
    {"NomUdost", F123, Source::Text, &MainTexts::certificateNumber},
    {"SrokUdost", F123, Source::Text, &MainTexts::certificateDate},
};

std::string valueOf(const KeyEntry& entry, const MainState& state, const FormExtras& extras)
{
    switch (entry.source) {
    case Source::Text:
        return state.texts.*entry.text;
    case Source::TotalCycles:
        return std::to_string(state.readout.totalCycles);
    case Source::LimiterYear:
        return limiterYearText(state.texts.limiterNumber);
    case Source::PreviousDate:
        return state.previousReadingDate;
    case Source::StartCharacteristic:
        return extras.startCharacteristic;
    case Source::TestSpan:
        return extras.testSpan;
    case Source::FrameRange:
        return extras.frameRange;
    }
    return {};
}

}  // namespace

std::vector<KeyLine> formKeyLines(int form, const MainState& state, const FormExtras& extras)
{
    if (form < 1 || form > 3)
        throw std::invalid_argument("form number out of range");
    const unsigned bit = 1u << (form - 1);
    std::vector<KeyLine> lines;
    for (const KeyEntry& entry : kKeys)
        if (entry.forms & bit)
            lines.push_back({entry.key, valueOf(entry, state, extras)});
    return lines;
}

std::string limiterYearText(const std::string& limiterSerial)
{
    return limiterSerial.empty() ? std::string() : "200" + limiterSerial.substr(0, 1);
}

std::string formDataFileText(const std::vector<KeyLine>& lines)
{
    std::string text;
    for (const KeyLine& line : lines) {
        text += "|0:";
        text += line.key;
        text += ':';
        // A line end inside a value (a text read from the recorder may hold
        // one) would end the key line early and give the rest to no key.
        fileio::appendCrLfLine(text, line.value);
    }
    return text;
}

}  // namespace nkp::forms
