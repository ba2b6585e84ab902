#pragma once

#include "analysis/ChartData.h"
#include "analysis/LoadDiagnostics.h"
#include "recorder/DataFileLayout.h"
#include "recorder/FrameStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The model behind the main window: every text the window shows, the raw values that travel between commands,
// the frame store and its chronological view, and the chart data. All texts
// are Windows-1251 bytes. Widgets display it; typed edits write back into it;
// forms and printouts read it.
namespace nkp::analysis {

// The texts of the first tab, Windows-1251 bytes.
struct MainTexts {
    // identification, editable (craneMaker is shown but not typed into)
    std::string serviceOrganisation, engineerName, certificateNumber, certificateDate, readingDate;
    std::string craneModel, craneNumber, craneMaker, craneYear, craneClassGroup, craneOwner;
    std::string installationDate;
    std::string limiterModel, limiterNumber, programVersion, limiterMaker;

    // counters and classification
    std::string readingStamp1, readingStamp2, readingStamp3;            // newest frame, previous readings
    std::string cycles0, cycles12, cycles25, cycles50, cycles100;       // cycles per load band
    std::string overload1, overload2, overload3, overload4, overload5;  // overload stamps, newest first
    std::string craneGroup, utilisationClass, loadMode, liftedMass;     // "A1", "U0", "Q1", tonnes
    std::string characteristicNumber, normativeNumber, loadSpectrumFactor;
    std::string operatingTime;
};

// The share of each load band in all cycles, 0..100, shown as gauges.
struct MainGauges {
    int band0 = 0, band12 = 0, band25 = 0, band50 = 0, band100 = 0;
};

struct MainState {
    // Creates the state of a freshly created window: the design texts of the
    // controls, a frame store of zeros and empty texts, nothing loaded.
    MainState();

    // --- what the first tab shows; the binding table (MainStateFields) names
    // the control that shows each text
    MainTexts texts;
    MainGauges gauges;
    std::string controllerNumber;  // stored in the file, not shown
    // The loaded file's signature status and SHA-256 as the card's footer
    // prints them; empty when the file was not checked.
    std::string fileSignature;

    // --- raw values that travel between commands
    std::int64_t operatingMinutes = 0;    // behind texts.operatingTime
    std::int64_t liftedMassRaw = 0;       // behind texts.liftedMass, hundredths of a tonne
    std::int64_t totalCycles = 0;         // all cycles counted
    int loadedFrames = 0;                 // frames the last loading filled
    int newestFrame = 0;                  // index of the newest frame
    int firstTestPosition = 0;            // for Form 1
    std::string newestFrameTime;          // date-time text of the newest frame
    std::string previousNewestFrameTime;  // for Form 1
    std::string previousReadingDate;      // for Forms 1 and 2
    std::string frameYear;                // two-digit year of the frames

    // Numbers behind the texts, for computations that must not re-parse them.
    std::array<std::uint32_t, recorder::kCycleBandCount> cycleCounts {};
    float characteristicNumber = 0;  // before formatting
    float loadSpectrumFactor = 0;
    int normativeNumber = 0;
    int utilisationClass = 0;  // U0..U9
    int loadMode = 1;          // Q1..Q4
    int craneGroup = 1;        // A1..A8

    // --- frames and their chronological view
    recorder::FrameStore frames;
    int RingStart = 0;
    std::vector<int> FrameOrder;     // kFrameCount entries; -1 marks an empty slot
    std::string selectionCountText;  // "0000" until the first selection

    // --- charts
    ChartsData charts;

    // --- what loading met, for the load error log
    LoadDiagnostics diagnostics;
    std::string fileName;  // without its folder; empty before the first loading
    std::string filePath;

    // The record shown at chronological position p (0 = oldest).
    const recorder::TFrameRecord& recordAt(int position) const;
    int recordIndexAt(int position) const;
};

}  // namespace nkp::analysis
