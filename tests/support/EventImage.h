#pragma once

#include "generator/ReadoutGenerator.h"
#include "recorder/DataFileLayout.h"
#include "recorder/DataFileWriter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace nkp::test {

// A read-out made frame by frame for the events: every frame valid and
// quiet (load 0, no limit, fault "E00"), one second apart in time, the ring
// starting at record `ringStart` (so chronological position p is record
// (p + ringStart) mod 11000), the frames' year 2024. Changes are made by
// chronological position.
class EventImage {
public:
    explicit EventImage(int ringStart = 6000)
        : ringStart_(ringStart)
        , fields_(recorder::kFrameCount)
        , broken_(recorder::kFrameCount, false)
    {
        for (int p = 0; p < kFrames; ++p) {
            // 1 March 2024 08:00:00 plus p seconds.
            generator::FrameFields& f = at(p);
            const int seconds = 8 * 3600 + p;
            f.day = 1;
            f.month = 3;
            f.hour = seconds / 3600;
            f.minute = seconds / 60 % 60;
            f.second = seconds % 60;
            f.radius = 500;
            f.boomLength = 1200;
            f.loadMass = 100;
        }
    }

    static constexpr int kFrames = static_cast<int>(recorder::kFrameCount);

    int ringStart() const { return ringStart_ % kFrames; }
    int recordOf(int position) const { return (position + ringStart_) % kFrames; }
    generator::FrameFields& at(int position) { return fields_[static_cast<std::size_t>(recordOf(position))]; }

    EventImage& load(int first, int last, int percent)
    {
        for (int p = first; p <= last; ++p)
            at(p).loadPercent = static_cast<std::uint8_t>(percent);
        return *this;
    }
    EventImage& limits(int first, int last, std::uint8_t bits)
    {
        for (int p = first; p <= last; ++p)
            at(p).limits = bits;
        return *this;
    }
    EventImage& fault(int first, int last, std::uint8_t code)
    {
        for (int p = first; p <= last; ++p)
            at(p).faultCode = code;
        return *this;
    }
    EventImage& breakFrame(int position)
    {
        broken_[static_cast<std::size_t>(recordOf(position))] = true;
        return *this;
    }
    EventImage& breakAll()
    {
        broken_.assign(broken_.size(), true);
        return *this;
    }
    EventImage& cycles(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t e)
    {
        cycles_ = {a, b, c, d, e};
        return *this;
    }

    std::vector<std::uint8_t> image() const
    {
        std::vector<std::uint8_t> bytes(recorder::kImageSize, 0);
        for (std::size_t i = 0; i < recorder::kFrameCount; ++i) {
            recorder::FrameBytes f = generator::encodeFrame(fields_[i]);
            if (broken_[i])
                f[recorder::kFrameSize - 1] ^= 0x5A;
            std::copy(
                f.begin(), f.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i * recorder::kFrameSize));
        }
        bytes[recorder::kFrameYearOffset] = 0x24;
        for (std::size_t band = 0; band < 5; ++band)
            for (std::size_t b = 0; b < 3; ++b)
                bytes[recorder::kCycleCountersOffset + 3 * band + b]
                    = static_cast<std::uint8_t>(cycles_[band] >> (8 * b));
        return bytes;
    }

    // The data file, with `id` as its identification.
    std::vector<std::uint8_t> dataFile(const recorder::Identification& id = {}) const
    {
        return recorder::buildDataFile(image(), id);
    }

private:
    int ringStart_;
    std::vector<generator::FrameFields> fields_;
    std::vector<bool> broken_;
    std::array<std::uint32_t, 5> cycles_ {};
};

}  // namespace nkp::test
