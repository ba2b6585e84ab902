#pragma once

#include "analysis/Readout.h"
#include "base/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>

namespace nkp::analysis {

// What an overview or an archive keeps of one read-out. Texts are
// Windows-1251 as the file holds them.
struct ReadoutSummary {
    std::string craneModel, craneNumber, owner;
    std::string readingText;                      // the reading date and time as stored
    std::optional<base::DateTime> readingMoment;  // of readingText, when it is a real moment
    std::string limiterSerial;
    std::int64_t totalCycles = 0;
    double characteristicNumber = 0;
    int normativeNumber = 0;
    int overloadEpisodes = 0;  // runs of frames at 100 % and above; counted apart from the values
};

// The summary of a read-out's values; overloadEpisodes stays 0.
ReadoutSummary readoutSummary(const Readout& readout);

}  // namespace nkp::analysis
