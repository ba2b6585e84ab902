#pragma once

#include "base/DateTime.h"
#include "base/Failure.h"
#include "recorder/DataFileLayout.h"
#include "recorder/IdentificationFile.h"

#include <cstdint>
#include <string>
#include <vector>

// Saving a read-out: the memory image and the identification typed into the
// reading window become a data file.
namespace nkp::device {

// The recorder keeps a short text of its own at this offset of the image;
// it is shown before a data file is saved.
inline constexpr std::size_t kImageStatusTextOffset = 232419;
inline constexpr std::size_t kImageStatusTextWidth = 15;

// The text at kImageStatusTextOffset up to its first zero byte (Windows-1251).
std::string imageStatusText(const std::vector<std::uint8_t>& image);

// "dd.mm.yyyy hh:mm", whatever the locale.
std::string readingDateText(const base::DateTime& when);

// The identification block from the 13 fields of an identification file and
// the reading date.
recorder::Identification makeIdentification(const InfFields& fields, const std::string& readingDate);

// Writes the data file safely. A failure names the file and the cause; an
// existing file is then untouched.
Done saveReadout(const std::string& path, const std::vector<std::uint8_t>& image, const InfFields& fields,
    const std::string& readingDate);

}  // namespace nkp::device
