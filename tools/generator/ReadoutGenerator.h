#pragma once

#include "recorder/DataFileLayout.h"
#include "recorder/Frame.h"

#include <cstdint>
#include <vector>

// Synthetic recorder read-outs for tests, benchmarks, the demo and the
// device emulator. The same options always give the same bytes.
namespace nkp::generator {

struct GeneratorOptions {
    std::uint64_t seed = 1;
    int days = 5;                   // the ring covers this many working days
    int brokenFrames = 12;          // frames whose check byte is spoilt
    int wrapIndex = -1;             // index of the newest frame; -1: chosen from the seed
    std::uint8_t frameYear = 0x24;  // BCD year byte of the frames
    bool identification = true;     // fill the identification block with Cyrillic texts
};

// The fields of one frame before encoding (raw units of the recorder).
struct FrameFields {
    int second = 0, minute = 0, hour = 0, day = 1, month = 1;  // decimal, encoded as BCD
    std::uint16_t boomLength = 0;                              // 0.01 m
    std::uint16_t boomAngle = 0;                               // 0.1 degree, 10 bits
    std::uint16_t pressure = 0;                                // 0.1 atm
    std::uint16_t azimuth = 0;                                 // 0.1 degree
    std::uint16_t radius = 0;                                  // 0.01 m
    std::uint16_t loadMass = 0;                                // 0.01 t
    std::uint8_t discreteInputs = 0, outputRelays = 0;
    std::uint8_t reeving = 0, mode = 0;  // nibbles
    std::uint8_t limits = 0;
    std::uint8_t loadPercent = 0;
    std::uint8_t faultCode = 0;
};

// Encodes a frame with a correct check byte.
recorder::FrameBytes encodeFrame(const FrameFields& fields);
std::uint8_t toBcd(int value);

// The 270336-byte memory image with a correct image checksum.
std::vector<std::uint8_t> generateImage(const GeneratorOptions& options);
recorder::Identification generateIdentification(const GeneratorOptions& options);
// A complete data file: image, gap byte and identification block.
std::vector<std::uint8_t> generateDataFile(const GeneratorOptions& options);

}  // namespace nkp::generator
