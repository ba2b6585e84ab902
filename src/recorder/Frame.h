#pragma once

#include "recorder/DataFileLayout.h"

#include <array>
#include <cstdint>
#include <string>

// One frame: the recorder's 24-byte record of the crane's working parameters
// at one moment, and its decoded form.
namespace nkp::recorder {

using FrameBytes = std::array<std::uint8_t, kFrameSize>;

// Status texts, Windows-1251.
inline constexpr std::string_view kStatusOk = "\xCD\xEE\xF0\xEC\xE0";  // "Норма"
inline constexpr std::string_view kStatusBroken = "\xC1\xF0\xE0\xEA";  // "Брак"

// The decoded frame. Texts are Windows-1251 (in practice ASCII but for Status).
struct TFrameRecord {
    std::int32_t Number = 0;  // index of the frame in the file
    std::string Date;         // "dd.mm.20yy" once the year is completed
    std::string Time;         // "hh:mm:ss"
    float BoomLength = 0;     // m
    float BoomAngle = 0;      // degrees
    float Pressure = 0;       // atm
    float Azimuth = 0;        // degrees
    float Radius = 0;         // m
    float LoadMass = 0;       // t
    std::string DiscreteInputs;
    std::string OutputRelays;
    std::string ReevingMode;  // "<reeving> <mode>"
    std::string Limits;       // bit text: chars 8..5 entered, 4..1 tripped (wall, ceiling, left, right)
    std::int32_t LoadPercent = 0;
    std::string FaultCode;  // "E" + two nibbles
    std::string Status;     // kStatusOk, kStatusBroken, or empty when cleared

    bool isOk() const { return Status == kStatusOk; }
    bool isBroken() const { return Status == kStatusBroken; }
    bool operator==(const TFrameRecord&) const = default;
};

// True when byte 23 is the complement of the 8-bit sum of bytes 0..22.
bool frameValid(const FrameBytes& frame);

// The check byte a frame with these first 23 bytes must carry.
std::uint8_t frameCheckByte(const FrameBytes& frame);

// Puts `record` into the cleared state for the record at `index`.
void clearRecord(TFrameRecord& record, std::int32_t index);

// Decodes a valid frame into `record` (the date without its year).
void decodeFrame(const FrameBytes& frame, std::int32_t index, TFrameRecord& record);

// The 8-character bit text of a byte, bit 7 first.
std::string bitText(std::uint8_t byte);

}  // namespace nkp::recorder
