#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nkp::device {

enum class Parity : std::uint8_t { None, Even, Odd };

// The line settings the reading device needs. Flow control is always off.
struct LineSettings {
    std::int32_t baudRate = 115200;
    int dataBits = 8;
    Parity parity = Parity::Even;
    int stopBits = 2;
    bool dtr = false;  // DTR and RTS held off
    bool rts = false;
    bool operator==(const LineSettings&) const = default;
};

// Read and write timeouts in milliseconds, as the recorder's protocol counts
// them: a read that gets no byte gives up after multiplier + constant.
struct Timeouts {
    int readInterval = 0;
    int readTotalMultiplier = 0;
    int readTotalConstant = 0;
    int writeTotalMultiplier = 0;
    int writeTotalConstant = 0;
    bool operator==(const Timeouts&) const = default;

    // How long a read waits for its first byte.
    int firstByteWaitMs() const { return readTotalMultiplier + readTotalConstant; }
};

// One serial port, opened by name. A port remembers the line settings and
// timeouts it had when it was opened so that they can be written back.
class SerialPortIo {
public:
    virtual ~SerialPortIo() = default;

    // Opens an existing device for reading and writing, not shared. False
    // when there is no usable port of that name.
    virtual bool open(const std::string& deviceName) = 0;
    virtual bool isOpen() const = 0;
    virtual void applyLineSettings(const LineSettings& settings) = 0;
    virtual void applyTimeouts(const Timeouts& timeouts) = 0;
    // Discards whatever waits in the receive and transmit queues.
    virtual void purge() = 0;
    // Waits up to the current timeouts' firstByteWaitMs() for a byte, then
    // returns every byte already received, at most `maxBytes`. 0 means the
    // line stayed silent (or the port failed).
    virtual std::size_t read(std::uint8_t* buffer, std::size_t maxBytes) = 0;
    // Returns the number of bytes moved.
    virtual std::size_t write(const std::uint8_t* data, std::size_t size) = 0;
    // Write back what the port had when it was opened.
    virtual void restoreLineSettings() = 0;
    virtual void restoreTimeouts() = 0;
    virtual void close() = 0;
};

}  // namespace nkp::device
