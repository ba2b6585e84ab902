#pragma once

#include "base/Clock.h"
#include "device/PortList.h"
#include "device/SerialPortIo.h"

#include <cstdint>
#include <string>
#include <vector>

// Reading the recorder's memory image through the reading device: the search
// over the port slots with the probe, the transfer after the command byte
// until the line falls silent, and the image checksum.
namespace nkp::device {

inline constexpr std::uint8_t kProbeByte = 0x08;
inline constexpr std::uint8_t kProbeAnswer = 0xA0;
inline constexpr std::uint8_t kSendImageCommand = 0x02;
inline constexpr std::size_t kDrainReads = 384;
inline constexpr int kSettleBeforeProbeMs = 300;
inline constexpr int kSettleBeforeCommandMs = 200;
inline constexpr int kTransferGaugeStep = 27000;
inline constexpr int kChecksumGaugeStep = 26410;
inline constexpr int kGaugeMax = 10;
// A device that keeps sending after the image is read on until it falls
// silent, but never longer than this many surplus bytes.
inline constexpr std::size_t kMaxSurplusBytes = 65536;

LineSettings deviceLineSettings();

// "Устройство не обнаружено!" followed by the ports that were tried (Windows-1251).
std::string notFoundText(const std::vector<PortSlot>& portSlots);
Timeouts probeTimeouts();
Timeouts transferTimeouts();

// Where a reading stands; the window shows each phase in its colour.
enum class ReadingPhase : std::uint8_t {
    Searching,         // probing the ports
    Transferring,      // the device answered and sends its image
    Checking,          // image complete, checksum being computed
    Done,              // checksum matches
    ChecksumMismatch,  // image complete, checksum does not match
    Failed,            // the transfer broke off
    Cancelled,         // the user stopped the reading
};

// What the reading window shows while a reading runs. Texts are Windows-1251.
class ReadingObserver {
public:
    virtual ~ReadingObserver() = default;
    virtual void statusText(const std::string& cp1251) = 0;
    virtual void phase(ReadingPhase phase) = 0;
    virtual void gauge(int position) = 0;
    // The bytes received so far after the command byte, after every read
    // that brought some.
    virtual void progress(std::size_t /*bytesReceived*/) { }
    // Asked between reads and before every port; true stops the reading
    // with the port restored and closed and nothing marked unsaved. May be
    // called from the thread that runs the reading while another sets it.
    virtual bool cancelRequested() const { return false; }
};

enum class ReadingOutcome : std::uint8_t { NotFound, Interrupted, ChecksumMismatch, Success, Cancelled };

struct ReadingResult {
    ReadingOutcome outcome = ReadingOutcome::NotFound;
    std::string portShortName;      // the port that answered the probe
    std::size_t bytesReceived = 0;  // including any surplus past the image
};

// Owns the memory image (all zero at first) and the unsaved-data flag.
class DeviceReader {
public:
    DeviceReader();

    // One reading over the given port slots: each is opened with `port`. Never
    // more than the image's size goes into the image; the port is closed
    // when this returns. Runs on any one thread; the image and the flag must
    // not be looked at elsewhere until it returns.
    // The settling pauses are waited on `clock`.
    ReadingResult read(const std::vector<PortSlot>& portSlots, SerialPortIo& port, base::Clock& clock,
        ReadingObserver& observer);

    const std::vector<std::uint8_t>& image() const { return image_; }
    bool unsaved() const { return unsaved_; }
    void markSaved() { unsaved_ = false; }

private:
    bool probe(const PortSlot& slot, SerialPortIo& port, base::Clock& clock, ReadingObserver& observer);
    // The count received; `cancelled` tells whether the user stopped it.
    std::size_t receive(SerialPortIo& port, ReadingObserver& observer, bool& cancelled);
    // After a cancelled transfer: the device stops sending and the line is drained.
    static void stopTransfer(SerialPortIo& port);
    void cancelled(SerialPortIo& port, ReadingObserver& observer) const;
    bool checkImage(ReadingObserver& observer) const;

    std::vector<std::uint8_t> image_;
    bool unsaved_ = false;
};

}  // namespace nkp::device
