#include "screen/MainStateLoad.h"

#include "analysis/ReadoutLoader.h"
#include "analysis/ReadoutTexts.h"
#include "base/Log.h"
#include "screen/ChartSeries.h"
#include "screen/StateTexts.h"

#include <algorithm>

namespace nkp::screen {
namespace {

using recorder::IdField;

void showIdentification(const analysis::Readout& r, MainTexts& t)
{
    t.serviceOrganisation = r.text(IdField::ServiceOrg);
    t.engineerName = r.text(IdField::Operator);
    t.certificateNumber = r.text(IdField::CertNumber);
    t.certificateDate = r.text(IdField::CertValidity);
    t.readingDate = r.text(IdField::ReadingDate);
    t.craneModel = r.text(IdField::CraneModel);
    t.craneNumber = r.text(IdField::CraneNumber);
    t.craneYear = r.text(IdField::CraneYear);
    t.craneClassGroup = r.text(IdField::NormGroup);
    t.craneMaker = r.text(IdField::CraneMaker);
    t.craneOwner = r.text(IdField::CraneOwner);
    t.limiterModel = r.text(IdField::LimiterModel);
    t.limiterNumber = r.text(IdField::LimiterNumber);
    t.limiterMaker = texts::limiterMaker();
}

void showValues(const analysis::Readout& r, char sep, MainState& s)
{
    analysis::ReadoutTexts shown = analysis::readoutTexts(r, sep);
    MainTexts& t = s.texts;
    t.operatingTime = std::move(shown.operatingTime);
    std::string* labels[] = {&t.cycles0, &t.cycles12, &t.cycles25, &t.cycles50, &t.cycles100};
    int* gauges[]
        = {&s.gauges.band0, &s.gauges.band12, &s.gauges.band25, &s.gauges.band50, &s.gauges.band100};
    const std::int64_t largest
        = std::max<std::int64_t>(1, *std::max_element(r.cycleCounts.begin(), r.cycleCounts.end()));
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band) {
        *labels[band] = std::move(shown.cycles[band]);
        *gauges[band] = static_cast<int>(std::int64_t {r.cycleCounts[band]} * 100 / largest);
    }
    t.characteristicNumber = std::move(shown.characteristicNumber);
    t.installationDate = std::move(shown.installationDate);
    std::string* overloads[] = {&t.overload1, &t.overload2, &t.overload3, &t.overload4, &t.overload5};
    for (std::size_t k = 0; k < recorder::kOverloadStampCount; ++k)
        *overloads[k] = std::move(shown.overloads[k]);
    std::string* readings[] = {&t.readingStamp1, &t.readingStamp2, &t.readingStamp3};
    for (std::size_t k = 0; k < recorder::kReadingStampCount; ++k)
        *readings[k] = std::move(shown.readings[k]);
    t.liftedMass = std::move(shown.liftedMass);
    t.normativeNumber = std::move(shown.normativeNumber);
    t.utilisationClass = std::move(shown.utilisationClass);
    t.loadSpectrumFactor = std::move(shown.loadSpectrumFactor);
    t.loadMode = std::move(shown.loadMode);
    t.craneGroup = std::move(shown.craneGroup);
}

}  // namespace

void applyReadout(const analysis::Readout& readout, char sep, MainState& state)
{
    if (&state.readout != &readout)
        state.readout = readout;
    showIdentification(state.readout, state.texts);
    showValues(state.readout, sep, state);
}

void loadReadout(const recorder::DataFileReader& file, char sep, MainState& state)
{
    analysis::loadReadout(file, state);
    applyReadout(state.readout, sep, state);
    buildCharts(state);
    state.serviceArea.assign(kServiceAreaEnd - recorder::kServiceAreaOffset, 0);
    file.copy(recorder::kServiceAreaOffset, state.serviceArea.size(), state.serviceArea.data());
}

void loadReadoutSummary(const recorder::DataFileReader& file, char sep, MainState& state)
{
    analysis::loadReadoutSummary(file, state);
    applyReadout(state.readout, sep, state);
}

Done loadReadout(const std::string& path, char sep, MainState& state)
{
    return analysis::openAndLoad(
        path, state, [&](const recorder::DataFileReader& file) { loadReadout(file, sep, state); });
}

Done loadReadoutSummary(const std::string& path, char sep, MainState& state)
{
    return analysis::openAndLoad(
        path, state, [&](const recorder::DataFileReader& file) { loadReadoutSummary(file, sep, state); });
}

bool openReadout(const std::string& path, char sep, MainState& state, UserPrompts& prompts)
{
    const Done loaded = loadReadout(path, sep, state);
    if (loaded)
        return true;
    // The box shows its fixed message; the cause goes to the log.
    log::write(loaded.failure());
    prompts.error("Ошибка", texts::fileNotOpened());
    return false;
}

}  // namespace nkp::screen
