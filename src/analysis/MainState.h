#pragma once

#include "analysis/ChartData.h"
#include "analysis/LoadDiagnostics.h"
#include "recorder/DataFileLayout.h"
#include "recorder/FrameStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The model behind the main window: every text the window shows (named by
// the control that shows it), the raw values that travel between commands,
// the frame store and its chronological view, and the chart data. All texts
// are Windows-1251 bytes. Widgets display it; typed edits write back into it;
// forms and printouts read it.
namespace nkp::analysis {

struct MainState {
    // Creates the state of a freshly created window: the design texts of the
    // controls, a frame store of zeros and empty texts, nothing loaded.
    MainState();

    // --- identification (first tab), editable
    std::string Edit_Org, Edit_Name, Edit_NUd, Edit_DateUd, Edit_DataSch;
    std::string Edit_MKran, Edit_NKran, Edit_IzgotKran, Edit_GodIzgot, Edit_GrRegNag, Edit_Vlad;
    std::string Edit_DataUst;
    std::string Edit_ModTRV, Edit_NTRV, Edit_VProg, Edit_IzgotTRV;
    std::string controllerNumber;  // stored in the file, not shown

    // --- counters and classification
    std::string Label_Read1, Label_Read2, Label_Read3;
    std::string Label_0, Label_12, Label_25, Label_50, Label_100;
    int CGauge_N0 = 0, CGauge_N12 = 0, CGauge_N25 = 0, CGauge_N50 = 0, CGauge_N100 = 0;  // 0..100
    std::string Label_Per1, Label_Per2, Label_Per3, Label_Per4, Label_Per5;
    std::string Label_RezhA, Label_KIspU, Label_RezhQ, Label_QSum, Edit_HarCh, Label_NHarch, Label_KNag;
    std::string L_TimeAll;

    // --- raw values (tags and hints of the original window)
    std::int64_t operatingMinutes = 0;    // tag of L_TimeAll
    std::int64_t liftedMassRaw = 0;       // tag of Label_QSum, hundredths of a tonne
    std::int64_t totalCycles = 0;         // tag of GroupBox_CiklNagr
    int loadedFrames = 0;                 // tag of ScrollBar_Cikl and StringGrid_O_Otb
    int newestFrame = 0;                  // tag of Label_Per1: index of the newest frame
    int firstTestPosition = 0;            // tag of Label_Per2 (Form 1)
    std::string newestFrameTime;          // hint of Label_Read1: date-time text of the newest frame
    std::string previousNewestFrameTime;  // hint of Label_Read2 (Form 1)
    std::string previousReadingDate;      // hint of Edit_DataSch (Forms 1 and 2)
    std::string frameYear;                // hint of StringGrid_O_Otb: two-digit year of the frames

    // Numbers behind the texts, for computations that must not re-parse them.
    std::array<std::uint32_t, recorder::kCycleBandCount> cycleCounts {};
    float characteristicNumber = 0;  // as stored in Edit_HarCh before formatting
    float loadSpectrumFactor = 0;
    int normativeNumber = 0;
    int utilisationClass = 0;  // U0..U9
    int loadMode = 1;          // Q1..Q4
    int craneGroup = 1;        // A1..A8

    // --- frames and their chronological view
    recorder::FrameStore frames;
    int RingStart = 0;
    std::vector<int> FrameOrder;  // kFrameCount entries; -1 marks an empty slot
    std::string Label_O_OtbZap;   // selection count text, "0000" until the first selection

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
