#pragma once

#include "analysis/ReadoutSummary.h"
#include "base/DateTime.h"
#include "base/Failure.h"
#include "recorder/DataFileLayout.h"
#include "recorder/DataFileReader.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nkp::archive {

// What the continuity checks and the due dates need of a read-out besides
// its identification and counters of the crane's history.
struct ReadoutFigures {
    std::optional<int> manufactureYear;
    std::vector<base::DateTime> recorderReadings;  // the recorder's stamps of earlier readings, newest first
    std::optional<base::DateTime> newestFrame;
    std::int64_t operatingMinutes = 0;
    std::array<std::uint32_t, recorder::kCycleBandCount> cycleCounts {};
    std::int64_t liftedMassRaw = 0;
};

// A read-out made ready for the archive (read, hashed and compressed), off
// any database connection.
struct PreparedReadout : analysis::ReadoutSummary {  // texts with blanks trimmed
    std::string sha256;                              // of the 270336-byte image, lower-case hex
    std::string fileName;
    ReadoutFigures figures;
    std::string readerName, readerCertificate;  // Windows-1251: who read it ("Считывание" entry's author)
    std::vector<std::uint8_t> compressed;  // the whole data file packed (StoredFile.h)
    std::string fileSha256;                // of the whole data file, lower-case hex (what a signature covers)
    std::optional<std::string> signature;  // the text of the signature file beside it; none without one
};

// Fills the values of `p` that come from the read-out's bytes (all but
// the hash, the packed file and the file name).
void readFigures(const recorder::DataFileReader& file, PreparedReadout& p);

// Reads a data file and prepares it; fails (Russian) when the file cannot
// be read or holds no complete memory image. The signature file beside it
// (NAME.nkp.sig) comes along as it is: a damaged or unreadable one is kept
// as evidence too.
Result<PreparedReadout> prepareReadout(const std::string& path);
Result<PreparedReadout> prepareReadout(std::vector<std::uint8_t> fileBytes, const std::string& fileName);

}  // namespace nkp::archive
