#include "analysis/ReadoutLoader.h"

#include "analysis/ChartSeries.h"
#include "analysis/DateTimeText.h"
#include "analysis/FrameDecoding.h"
#include "analysis/NumberFormat.h"
#include "analysis/StateTexts.h"
#include "base/Codec.h"

#include <algorithm>
#include <numeric>

namespace nkp::analysis {
namespace {

using recorder::IdField;

void applyIdentification(const Readout& r, MainState& s)
{
    s.texts.serviceOrganisation = r.text(IdField::ServiceOrg);
    s.texts.engineerName = r.text(IdField::Operator);
    s.texts.certificateNumber = r.text(IdField::CertNumber);
    s.texts.certificateDate = r.text(IdField::CertValidity);
    s.texts.readingDate = r.text(IdField::ReadingDate);
    s.texts.craneModel = r.text(IdField::CraneModel);
    s.texts.craneNumber = r.text(IdField::CraneNumber);
    s.texts.craneYear = r.text(IdField::CraneYear);
    s.texts.craneClassGroup = r.text(IdField::NormGroup);
    s.texts.craneMaker = r.text(IdField::CraneMaker);
    s.texts.craneOwner = r.text(IdField::CraneOwner);
    s.texts.limiterModel = r.text(IdField::LimiterModel);
    s.texts.limiterNumber = r.text(IdField::LimiterNumber);
    s.controllerNumber = r.text(IdField::ControllerNumber);
    s.texts.limiterMaker = texts::limiterMaker();
}

void applyCounters(const Readout& r, char sep, MainState& s)
{
    s.operatingMinutes = r.operatingMinutes;
    s.texts.operatingTime = formatOperatingTime(s.operatingMinutes);

    std::string* labels[]
        = {&s.texts.cycles0, &s.texts.cycles12, &s.texts.cycles25, &s.texts.cycles50, &s.texts.cycles100};
    int* gauges[]
        = {&s.gauges.band0, &s.gauges.band12, &s.gauges.band25, &s.gauges.band50, &s.gauges.band100};
    s.cycleCounts = r.cycleCounts;
    const std::int64_t largest
        = std::max<std::int64_t>(1, *std::max_element(s.cycleCounts.begin(), s.cycleCounts.end()));
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band) {
        *labels[band] = std::to_string(s.cycleCounts[band]);
        *gauges[band] = static_cast<int>(std::int64_t {s.cycleCounts[band]} * 100 / largest);
    }
    s.totalCycles = r.totalCycles;

    s.characteristicNumber = r.characteristicNumber;
    s.texts.characteristicNumber = formatFixed(s.characteristicNumber, 1, sep);

    s.texts.installationDate = r.installDate.text();
    std::string* overloads[] = {
        &s.texts.overload1, &s.texts.overload2, &s.texts.overload3, &s.texts.overload4, &s.texts.overload5};
    for (std::size_t k = 0; k < recorder::kOverloadStampCount; ++k)
        *overloads[k] = r.overloadStamps[k].text();
    std::string* readings[] = {&s.texts.readingStamp1, &s.texts.readingStamp2, &s.texts.readingStamp3};
    for (std::size_t k = 0; k < recorder::kReadingStampCount; ++k)
        *readings[k] = r.readingStamps[k].text();

    s.liftedMassRaw = r.liftedMassRaw;
    s.texts.liftedMass
        = formatFixed(static_cast<double>(s.liftedMassRaw) * 0.01, 2, sep) + texts::tonnesSuffix();
}

void applyClassification(const Readout& r, char sep, MainState& s)
{
    s.normativeNumber = r.normativeNumber;
    s.texts.normativeNumber = std::to_string(s.normativeNumber);
    s.utilisationClass = r.utilisationClass;
    s.texts.utilisationClass = 'U' + std::to_string(s.utilisationClass);
    s.loadSpectrumFactor = r.loadSpectrumFactor;
    s.texts.loadSpectrumFactor = formatFixed(s.loadSpectrumFactor, 3, sep);
    s.loadMode = r.loadMode;
    s.texts.loadMode = 'Q' + std::to_string(s.loadMode);
    s.craneGroup = r.craneGroup;
    s.texts.craneGroup = 'A' + std::to_string(s.craneGroup);
}

}  // namespace

std::optional<recorder::DataFileReader> openReadoutFile(const std::string& path, std::string* error)
{
    auto opened = recorder::DataFileReader::open(path);
    if (!opened) {
        if (error)
            *error = opened.failure().reason;
        return std::nullopt;
    }
    std::optional<recorder::DataFileReader> file = std::move(*opened);
    if (file->size() < kShortestReadout) {
        if (error)
            *error = "too short for a read-out (" + std::to_string(file->fileSize()) + " bytes)";
        return std::nullopt;
    }
    return file;
}

void setLoadedFile(const std::string& path, MainState& state)
{
    state.filePath = path;
    const std::size_t slash = path.find_last_of('/');
    state.fileName = codec::utf8ToCp1251(slash == std::string::npos ? path : path.substr(slash + 1));
}

void applyReadout(const Readout& readout, char sep, MainState& state)
{
    state.diagnostics = readout.diagnostics;
    applyIdentification(readout, state);
    applyCounters(readout, sep, state);
    applyClassification(readout, sep, state);
}

void clearAll(MainState& state)
{
    state.frames.clear();
    state.RingStart = 0;
    state.FrameOrder.assign(recorder::kFrameCount, 0);
}

void loadReadout(const recorder::DataFileReader& file, char sep, MainState& s)
{
    Readout readout = readReadout(file, FrameCheck::LeaveToDecoding);
    RingFacts ring = decodeFrames(file, s.frames);
    readout.diagnostics.brokenFrames = std::move(ring.brokenFrames);
    readout.diagnostics.nonCalendarFrames = std::move(ring.nonCalendarFrames);
    applyReadout(readout, sep, s);

    s.frameYear = std::move(ring.frameYear);
    s.newestFrame = ring.newestFrame;
    s.RingStart = ring.ringStart;
    // Without the year byte the newest frame's moment is unknown, not a guess.
    s.newestFrameTime = ring.yearKnown ? dateTimeText(ring.newest) : std::string();
    s.FrameOrder.resize(recorder::kFrameCount);
    std::iota(s.FrameOrder.begin(), s.FrameOrder.end(), 0);
    s.loadedFrames = static_cast<int>(recorder::kFrameCount);
    buildCharts(s);
}

namespace {

// The one open-and-load sequence: the file is read and closed, then loaded.
bool openAndLoad(const std::string& path, char sep, MainState& state, std::string* error,
    void (*load)(const recorder::DataFileReader&, char, MainState&))
{
    const std::optional<recorder::DataFileReader> file = openReadoutFile(path, error);
    if (!file)
        return false;
    load(*file, sep, state);
    setLoadedFile(path, state);
    return true;
}

}  // namespace

bool loadReadout(const std::string& path, char sep, MainState& state, std::string* error)
{
    return openAndLoad(path, sep, state, error, loadReadout);
}

void loadReadoutSummary(const recorder::DataFileReader& file, char sep, MainState& state)
{
    applyReadout(readReadout(file), sep, state);
}

bool loadReadoutSummary(const std::string& path, char sep, MainState& state, std::string* error)
{
    return openAndLoad(path, sep, state, error, loadReadoutSummary);
}

}  // namespace nkp::analysis
