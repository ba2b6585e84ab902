#pragma once

#include "recorder/Frame.h"

#include <string>

// The measured values of a frame as every view shows them: the frames table,
// the frames CSV and the printed listing.
namespace nkp::analysis {

struct FrameNumberTexts {
    std::string boomAngle;   // "#0.0"
    std::string boomLength;  // "#0.00"
    std::string radius;      // "#0.00"
    std::string pressure;    // "#0.0"
    std::string loadMass;    // "#0.00"
    std::string azimuth;     // "#0.0"
};

FrameNumberTexts frameNumberTexts(const recorder::TFrameRecord& record, char decimalSeparator);

}  // namespace nkp::analysis
