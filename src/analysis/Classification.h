#pragma once

#include <cstdint>
#include <string_view>

// The crane's usage classification after ISO 4301-1.
namespace nkp::analysis {

// Normative characteristic number of a normative group text ("А1".."А8",
// Cyrillic А in Windows-1251); 0 for any other text.
int normativeCharacteristicNumber(std::string_view groupText);

// Utilisation class 0..9 (U0..U9) for a total number of working cycles.
int utilisationClass(std::int64_t totalCycles);

// Load mode 1..4 (Q1..Q4) for a load spectrum factor; the bounds are inclusive.
int loadMode(float loadSpectrumFactor);

// Group 1..8 (A1..A8) for a load mode 1..4 and a utilisation class 0..9.
int craneGroup(int loadMode, int utilisationClass);

}  // namespace nkp::analysis
