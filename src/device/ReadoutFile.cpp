#include "device/ReadoutFile.h"

#include "recorder/DataFileWriter.h"

#include <algorithm>

namespace nkp::device {

using recorder::IdField;

namespace {

// The order of the lines of an identification file.
constexpr std::array<IdField, kInfLineCount> kInfOrder = {
    IdField::ServiceOrg,
    IdField::Operator,
    IdField::CertNumber,
    IdField::CertValidity,
    IdField::CraneModel,
    IdField::CraneNumber,
    IdField::CraneYear,
    IdField::NormGroup,
    IdField::CraneMaker,
    IdField::CraneOwner,
    IdField::LimiterModel,
    IdField::LimiterNumber,
    IdField::ControllerNumber,
};

}  // namespace

std::string imageStatusText(const std::vector<std::uint8_t>& image)
{
    std::string out;
    for (std::size_t i = 0; i < kImageStatusTextWidth; ++i) {
        const std::size_t at = kImageStatusTextOffset + i;
        if (at >= image.size() || image[at] == 0)
            break;
        out.push_back(static_cast<char>(image[at]));
    }
    return out;
}

std::string readingDateText(const base::DateTime& when)
{
    return base::dateText(when) + ' ' + base::timeText(when);
}

recorder::Identification makeIdentification(const InfFields& fields, const std::string& readingDate)
{
    recorder::Identification id;
    for (std::size_t line = 0; line < kInfLineCount; ++line)
        id[kInfOrder[line]] = fields[line];
    id[IdField::ReadingDate] = readingDate;
    return id;
}

Done saveReadout(const std::string& path, const std::vector<std::uint8_t>& image, const InfFields& fields,
    const std::string& readingDate)
{
    return recorder::writeDataFile(path, image, makeIdentification(fields, readingDate));
}

}  // namespace nkp::device
