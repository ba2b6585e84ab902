#pragma once

#include "analysis/LoadedReadout.h"
#include "screen/ChartData.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The model behind the main window: the loaded read-out, every text the
// window shows, the frame store and its chronological view, and the chart
// data. All texts are Windows-1251 bytes. Widgets display it; typed edits write back into it;
// forms and printouts read it.
namespace nkp::screen {

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

// A read-out as the window holds it: its values, frames and file
// (LoadedReadout), the texts it shows (the user may edit some of them), and
// what the forms keep between their steps.
struct MainState : analysis::LoadedReadout {
    // Creates the state of a freshly created window: the design texts of the
    // controls and the values they show, a frame store of zeros, nothing loaded.
    MainState();

    // --- what the first tab shows; the binding table (MainStateFields) names
    // the control that shows each text
    MainTexts texts;
    MainGauges gauges;
    // The loaded file's signature status and SHA-256 as the card's footer
    // prints them; empty when the file was not checked.
    std::string fileSignature;

    // --- what the forms keep between their steps
    int firstTestPosition = 0;            // for Form 1
    std::string previousNewestFrameTime;  // for Form 1
    std::string previousReadingDate;      // for Forms 1 and 2

    // --- charts
    ChartsData charts;

    // --- the service area of the loaded file (up to the image checksum's end), for the service window
    std::vector<std::uint8_t> serviceArea;
};

// The end of the service area the window shows (the image checksum's end).
inline constexpr std::size_t kServiceAreaEnd = 264196;

}  // namespace nkp::screen
