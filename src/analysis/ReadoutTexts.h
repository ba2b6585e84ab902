#pragma once

#include "analysis/Readout.h"

#include <array>
#include <cstdint>
#include <string>

// The texts a read-out's values are shown with, Windows-1251: the main
// window's, the overview's and the forms' are the same.
namespace nkp::analysis {

struct ReadoutTexts {
    std::string operatingTime;                                  // "h:mm:00"
    std::array<std::string, recorder::kCycleBandCount> cycles;  // per load band
    std::string characteristicNumber;                           // one decimal
    std::string normativeNumber;
    std::string utilisationClass, loadMode, craneGroup;                // "U3", "Q2", "A5"
    std::string loadSpectrumFactor;                                    // three decimals
    std::string liftedMass;                                            // "1234,56 т"
    std::string installationDate;                                      // "dd.mm.20yy"
    std::array<std::string, recorder::kOverloadStampCount> overloads;  // "hh:mm dd.mm.20yy", newest first
    std::array<std::string, recorder::kReadingStampCount> readings;
};

ReadoutTexts readoutTexts(const Readout& readout, char decimalSeparator);

// The pieces, for values that are not a read-out's own (the forms' differences).
std::string characteristicNumberText(double characteristicNumber, char decimalSeparator);
std::string liftedMassText(std::int64_t liftedMassRaw, char decimalSeparator);  // hundredths of a tonne
std::string utilisationClassText(int utilisationClass);
std::string loadModeText(int loadMode);
std::string craneGroupText(int craneGroup);

}  // namespace nkp::analysis
