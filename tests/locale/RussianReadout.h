#pragma once

#include "TestImages.h"

#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileLayout.h"
#include "recorder/DataFileWriter.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// A read-out whose numbers are known, for the tests that run under the real
// ru_RU.UTF-8 locale, and the check that this locale really is in force.
namespace nkp::test {

// Record index of the hand-made frame and its numbers.
inline constexpr std::size_t kKnownFrameIndex = 5;
// BoomLength;BoomAngle;Pressure;Azimuth;Radius;LoadMass with a decimal comma.
inline constexpr const char* kKnownFrameNumbers = ";38,60;38,5;123,4;179,9;15,25;12,34;";

// A generated read-out with these counters: lifted mass 5988752 hundredths
// of a tonne ("59887,52 т"), characteristic number 2911.9 ("2911,9"), cycles
// 5000 + 4000 + 3000 + 551 + 0 = 12551, so a load spectrum factor of
// 2911.9 / 12551 = 0.23201 ("0,232"); frame 5 carries the numbers above.
inline std::vector<std::uint8_t> russianReadout()
{
    generator::GeneratorOptions options;
    options.seed = 7;
    options.wrapIndex = 6000;
    std::vector<std::uint8_t> image = generator::generateImage(options);
    auto put = [&](std::size_t at, std::uint64_t value, std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; ++i)
            image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    put(recorder::kLiftedMassOffset, 5988752, 4);
    // 2911 + 230/256 + 102/65536 = 2911.89999..., a float of 2911.9.
    put(recorder::kCharacteristicOffset, 102 | 230u << 8 | 2911u << 16, 5);
    const std::uint32_t counts[] = {5000, 4000, 3000, 551, 0};
    for (std::size_t band = 0; band < 5; ++band)
        put(recorder::kCycleCountersOffset + 3 * band, counts[band], 3);

    generator::FrameFields f;
    f.day = 1;
    f.month = 1;
    f.hour = 8;
    f.minute = 30;
    f.boomLength = 3860;  // 38.6 as a float is 38.5999984741...
    f.boomAngle = 385;
    f.pressure = 1234;
    f.azimuth = 1799;
    f.radius = 1525;
    f.loadMass = 1234;
    f.loadPercent = 42;
    const recorder::FrameBytes frame = generator::encodeFrame(f);
    std::copy(frame.begin(), frame.end(), image.begin() + kKnownFrameIndex * recorder::kFrameSize);

    test::sealChecksum(image);
    return recorder::buildDataFile(image, generator::generateIdentification(options));
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Takes the C library's locale from the environment (as the programs do) and
// tells whether it is a Russian one with its decimal comma.
inline bool russianLocaleInForce()
{
    const char* name = std::setlocale(LC_ALL, "");
    const std::lconv* conv = std::localeconv();
    return name && std::string(name).rfind("ru_RU", 0) == 0 && conv && conv->decimal_point
        && std::string(conv->decimal_point) == ",";
}

// test.sh makes the locale and sets this, so that a missing locale fails
// there instead of skipping.
inline bool russianLocaleRequired()
{
    const char* required = std::getenv("NKP_REQUIRE_RU_LOCALE");
    return required && *required && std::string(required) != "0";
}

inline constexpr const char* kLocaleMissing
    = "the locale ru_RU.UTF-8 is not installed (test.sh makes it: localedef -i ru_RU -f UTF-8 ru_RU.UTF-8)";

}  // namespace nkp::test
