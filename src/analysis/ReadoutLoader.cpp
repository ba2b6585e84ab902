#include "analysis/ReadoutLoader.h"

#include "analysis/ChartSeries.h"
#include "analysis/Classification.h"
#include "analysis/DateTimeText.h"
#include "analysis/NumberFormat.h"
#include "analysis/StateTexts.h"
#include "recorder/Bcd.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace nkp::analysis {
namespace {

using recorder::IdField;

void loadIdentification(const recorder::DataFileReader& file, MainState& s)
{
    s.Edit_Org = file.text(IdField::ServiceOrg);
    s.Edit_Name = file.text(IdField::Operator);
    s.Edit_NUd = file.text(IdField::CertNumber);
    s.Edit_DateUd = file.text(IdField::CertValidity);
    s.Edit_DataSch = file.text(IdField::ReadingDate);
    s.Edit_MKran = file.text(IdField::CraneModel);
    s.Edit_NKran = file.text(IdField::CraneNumber);
    s.Edit_GodIzgot = file.text(IdField::CraneYear);
    s.Edit_GrRegNag = file.text(IdField::NormGroup);
    s.Edit_IzgotKran = file.text(IdField::CraneMaker);
    s.Edit_Vlad = file.text(IdField::CraneOwner);
    s.Edit_ModTRV = file.text(IdField::LimiterModel);
    s.Edit_NTRV = file.text(IdField::LimiterNumber);
    s.controllerNumber = file.text(IdField::ControllerNumber);
    s.Edit_IzgotTRV = texts::limiterMaker();
}

// The newest frame so far: the valid frame with the latest date and time;
// ties keep the lower index.
struct NewestSearch {
    DateTime latest {1999, 1, 1, 0, 0, 0};
    int newest = 0;
};

// Only the check of every frame: which ones are broken.
void checkFrames(const recorder::DataFileReader& file, MainState& s)
{
    s.diagnostics.brokenFrames.clear();
    s.diagnostics.nonCalendarFrames.clear();
    for (std::size_t i = 0; i < recorder::kFrameCount; ++i)
        if (!recorder::frameValid(file.frame(i)))
            s.diagnostics.brokenFrames.push_back(static_cast<int>(i));
}

// Decodes, completes the date of, and weighs every frame in one pass over
// the store (the store is megabytes: one pass instead of three).
void loadFrames(const recorder::DataFileReader& file, MainState& s)
{
    s.frameYear = recorder::frameYearText(file.byte(recorder::kFrameYearOffset));
    const std::string yearSuffix = "20" + s.frameYear;
    s.diagnostics.brokenFrames.clear();
    s.diagnostics.nonCalendarFrames.clear();
    NewestSearch search;
    for (std::size_t i = 0; i < recorder::kFrameCount; ++i) {
        recorder::TFrameRecord& r = s.frames[i];
        const recorder::FrameBytes frame = file.frame(i);
        // Every record is either decoded whole or cleared: the same result as
        // clearing the store first, without writing the valid ones twice.
        if (!recorder::frameValid(frame)) {
            recorder::clearRecord(r, static_cast<std::int32_t>(i));
            r.Status = recorder::kStatusBroken;
            s.diagnostics.brokenFrames.push_back(static_cast<int>(i));
            continue;
        }
        recorder::decodeFrame(frame, static_cast<std::int32_t>(i), r);
        r.Date += yearSuffix;
        const std::optional<DateTime> moment = parseDateTime(r.Date, r.Time);
        if (!moment) {
            s.diagnostics.nonCalendarFrames.push_back(static_cast<int>(i));
        } else if (*moment > search.latest) {
            search.latest = *moment;
            search.newest = static_cast<int>(i);
        }
    }
    s.newestFrame = search.newest;
    s.RingStart = search.newest + 1;
    s.newestFrameTime = dateTimeText(search.latest);
}

void loadCounters(const recorder::DataFileReader& file, char sep, MainState& s)
{
    s.operatingMinutes = file.read24(recorder::kOperatingMinutesOffset);
    s.L_TimeAll = formatOperatingTime(s.operatingMinutes);

    std::string* labels[] = {&s.Label_0, &s.Label_12, &s.Label_25, &s.Label_50, &s.Label_100};
    int* gauges[] = {&s.CGauge_N0, &s.CGauge_N12, &s.CGauge_N25, &s.CGauge_N50, &s.CGauge_N100};
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band) {
        s.cycleCounts[band] = file.read24(recorder::kCycleCountersOffset + 3 * band);
        *labels[band] = std::to_string(s.cycleCounts[band]);
    }
    const std::int64_t largest
        = std::max<std::int64_t>(1, *std::max_element(s.cycleCounts.begin(), s.cycleCounts.end()));
    for (std::size_t band = 0; band < recorder::kCycleBandCount; ++band)
        *gauges[band] = static_cast<int>(std::int64_t {s.cycleCounts[band]} * 100 / largest);
    s.totalCycles = std::accumulate(s.cycleCounts.begin(), s.cycleCounts.end(), std::int64_t {0});

    s.characteristicNumber = static_cast<float>(file.read40Fixed16(recorder::kCharacteristicOffset));
    s.Edit_HarCh = formatFixed(s.characteristicNumber, 1, sep);

    std::uint8_t stamp[recorder::kStampSize];
    file.copy(recorder::kInstallDateOffset, 3, stamp);
    s.Edit_DataUst = recorder::bcdDateText(stamp);
    std::string* overloads[] = {&s.Label_Per1, &s.Label_Per2, &s.Label_Per3, &s.Label_Per4, &s.Label_Per5};
    for (std::size_t k = 0; k < recorder::kOverloadStampCount; ++k) {
        file.copy(recorder::kOverloadStampsOffset + k * recorder::kStampSize, recorder::kStampSize, stamp);
        *overloads[k] = recorder::bcdStampText(stamp);
    }
    std::string* readings[] = {&s.Label_Read1, &s.Label_Read2, &s.Label_Read3};
    for (std::size_t k = 0; k < recorder::kReadingStampCount; ++k) {
        file.copy(recorder::kReadingStampsOffset + k * recorder::kStampSize, recorder::kStampSize, stamp);
        *readings[k] = recorder::bcdStampText(stamp);
    }

    s.liftedMassRaw = file.read32(recorder::kLiftedMassOffset);
    s.Label_QSum = formatFixed(static_cast<double>(s.liftedMassRaw) * 0.01, 2, sep) + texts::tonnesSuffix();
}

// The number a text shows, read back with the separator it was written with.
double readBack(const std::string& text, char sep)
{
    std::string plain = text;
    std::replace(plain.begin(), plain.end(), sep, '.');
    double value = 0;
    std::from_chars(plain.data(), plain.data() + plain.size(), value);
    return value;
}

void classify(char sep, MainState& s)
{
    s.normativeNumber = normativeCharacteristicNumber(s.Edit_GrRegNag);
    s.Label_NHarch = std::to_string(s.normativeNumber);
    s.utilisationClass = utilisationClass(s.totalCycles);
    s.Label_KIspU = 'U' + std::to_string(s.utilisationClass);
    // The factor is taken from the number as shown, rounded to one decimal.
    const std::int64_t divisor = s.totalCycles == 0 ? 1 : s.totalCycles;
    s.loadSpectrumFactor = static_cast<float>(readBack(s.Edit_HarCh, sep) / static_cast<double>(divisor));
    s.Label_KNag = formatFixed(s.loadSpectrumFactor, 3, sep);
    s.loadMode = loadMode(s.loadSpectrumFactor);
    s.Label_RezhQ = 'Q' + std::to_string(s.loadMode);
    s.craneGroup = craneGroup(s.loadMode, s.utilisationClass);
    s.Label_RezhA = 'A' + std::to_string(s.craneGroup);
}

void loadDiagnostics(const recorder::DataFileReader& file, LoadDiagnostics& d)
{
    d.fileRead = true;
    d.fileSize = file.fileSize();
    d.fullLength = d.fileSize >= recorder::kIdentificationOffset;
    d.storedChecksum = file.storedChecksum();
    d.computedChecksum = file.computedChecksum();
    d.checksumMatches = d.storedChecksum == d.computedChecksum;
}

// Every value but the chronological view and the charts; `frames` either
// decodes the frames or only checks them.
void loadValues(const recorder::DataFileReader& file, char sep, MainState& s,
    void (*frames)(const recorder::DataFileReader&, MainState&))
{
    loadDiagnostics(file, s.diagnostics);
    loadIdentification(file, s);
    frames(file, s);
    loadCounters(file, sep, s);
    classify(sep, s);
}

bool openAndLoad(const std::string& path, char sep, MainState& state, std::string* error,
    void (*load)(const recorder::DataFileReader&, char, MainState&))
{
    const std::optional<recorder::DataFileReader> file = recorder::DataFileReader::open(path, error);
    if (!file)
        return false;
    load(*file, sep, state);
    state.filePath = path;
    const std::size_t slash = path.find_last_of('/');
    state.fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    return true;
}

}  // namespace

void clearAll(MainState& state)
{
    state.frames.clear();
    state.RingStart = 0;
    state.FrameOrder.assign(recorder::kFrameCount, 0);
}

void loadReadout(const recorder::DataFileReader& file, char sep, MainState& s)
{
    loadValues(file, sep, s, loadFrames);

    s.FrameOrder.resize(recorder::kFrameCount);
    std::iota(s.FrameOrder.begin(), s.FrameOrder.end(), 0);
    s.loadedFrames = static_cast<int>(recorder::kFrameCount);
    buildCharts(s);
}

bool loadReadout(const std::string& path, char sep, MainState& state, std::string* error)
{
    return openAndLoad(path, sep, state, error,
        static_cast<void (*)(const recorder::DataFileReader&, char, MainState&)>(loadReadout));
}

void loadReadoutSummary(const recorder::DataFileReader& file, char sep, MainState& s)
{
    loadValues(file, sep, s, checkFrames);
}

bool loadReadoutSummary(const std::string& path, char sep, MainState& state, std::string* error)
{
    return openAndLoad(path, sep, state, error,
        static_cast<void (*)(const recorder::DataFileReader&, char, MainState&)>(loadReadoutSummary));
}

}  // namespace nkp::analysis
