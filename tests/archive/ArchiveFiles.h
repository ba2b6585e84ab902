#pragma once

#include "EventImage.h"
#include "TempFolder.h"
#include "TestImages.h"

#include "base/Codec.h"
#include "generator/HistoryGenerator.h"
#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileLayout.h"
#include "recorder/DataFileReader.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

// Read-outs made to measure for the archive's tests.
namespace nkp::test {

inline std::vector<std::uint8_t> withText(
    std::vector<std::uint8_t> file, recorder::IdField field, const std::string& cp1251)
{
    const auto& layout = recorder::fieldLayout(field);
    const std::size_t width = layout.width == recorder::kUnboundedWidth ? cp1251.size() + 1 : layout.width;
    if (file.size() < layout.offset + width)
        file.resize(layout.offset + width, 0);
    std::fill(file.begin() + static_cast<std::ptrdiff_t>(layout.offset),
        file.begin() + static_cast<std::ptrdiff_t>(layout.offset + width), std::uint8_t {0});
    std::copy(cp1251.begin(), cp1251.end(), file.begin() + static_cast<std::ptrdiff_t>(layout.offset));
    return file;
}

// A generated read-out with the given crane, reading date, limiter and
// characteristic number (a whole number).
inline std::vector<std::uint8_t> craneReadout(std::uint64_t seed, const std::string& modelUtf8,
    const std::string& number, const std::string& reading, const std::string& serial,
    std::uint64_t characteristic)
{
    generator::GeneratorOptions options;
    options.seed = seed;
    options.brokenFrames = 0;
    std::vector<std::uint8_t> file = generator::generateDataFile(options);
    for (std::size_t i = 0; i < 5; ++i)
        file[recorder::kCharacteristicOffset + i]
            = static_cast<std::uint8_t>((characteristic << 16) >> (8 * i));
    using recorder::IdField;
    file = withText(std::move(file), IdField::CraneModel, codec::utf8ToCp1251(modelUtf8));
    file = withText(std::move(file), IdField::CraneNumber, number);
    file = withText(std::move(file), IdField::ReadingDate, reading);
    file = withText(std::move(file), IdField::LimiterNumber, serial);
    file = withText(std::move(file), IdField::NormGroup, codec::utf8ToCp1251("А4"));
    return file;
}

// The read-out with the frames (and their year) of `frames`, the rest of its
// image kept and its check sum made anew.
inline std::vector<std::uint8_t> withFrames(std::vector<std::uint8_t> file, const EventImage& frames)
{
    const std::vector<std::uint8_t> image = frames.image();
    std::copy(image.begin(),
        image.begin() + static_cast<std::ptrdiff_t>(recorder::kFrameCount * recorder::kFrameSize),
        file.begin());
    file[recorder::kFrameYearOffset] = image[recorder::kFrameYearOffset];
    sealChecksum(file);
    return file;
}

}  // namespace nkp::test
