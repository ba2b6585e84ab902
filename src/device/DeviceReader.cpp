#include "device/DeviceReader.h"

#include "base/Codec.h"
#include "recorder/DataFileLayout.h"
#include "recorder/DataFileReader.h"

#include <algorithm>
#include <array>

namespace nkp::device {
namespace {

using recorder::kImageSize;

// The status texts, Windows-1251, with the numbers and names appended.
std::string text(std::string_view utf8)
{
    return codec::utf8ToCp1251(utf8);
}

// Reports gauge positions, each change once.
class Gauge {
public:
    explicit Gauge(ReadingObserver& observer)
        : observer_(observer)
    {
    }
    void set(int position)
    {
        if (position != position_) {
            position_ = position;
            observer_.gauge(position);
        }
    }
    void reset()
    {
        position_ = 0;
        observer_.gauge(0);
    }

private:
    ReadingObserver& observer_;
    int position_ = -1;
};

}  // namespace

std::string notFoundText(const std::vector<PortSlot>& portSlots)
{
    std::string out = text("Устройство не обнаружено!");
    const std::size_t count = std::min(portSlots.size(), kPortSlotCount);
    if (count == 0)
        return out + text(" Последовательных портов нет.");
    out += text(" Опрошены порты: ");
    for (std::size_t n = 0; n < count; ++n)
        out += (n ? ", " : "") + portSlots[n].shortName;
    return out;
}

LineSettings deviceLineSettings()
{
    return LineSettings {};
}

Timeouts probeTimeouts()
{
    return Timeouts {50, 50, 50, 50, 50};
}

Timeouts transferTimeouts()
{
    return Timeouts {1000, 1000, 200, 50, 50};
}

DeviceReader::DeviceReader()
    : image_(kImageSize, 0)
{
}

ReadingResult DeviceReader::read(
    const std::vector<PortSlot>& portSlots, SerialPortIo& port, base::Clock& clock, ReadingObserver& observer)
{
    ReadingResult result;
    observer.phase(ReadingPhase::Searching);
    observer.statusText(text("Поиск устройства..."));
    unsaved_ = false;
    port.close();

    const PortSlot* found = nullptr;
    for (std::size_t n = 0; n < std::min(portSlots.size(), kPortSlotCount) && !found; ++n) {
        if (observer.cancelRequested()) {
            cancelled(port, observer);
            result.outcome = ReadingOutcome::Cancelled;
            return result;
        }
        if (probe(portSlots[n], port, clock, observer))
            found = &portSlots[n];
    }
    if (found && observer.cancelRequested()) {
        cancelled(port, observer);
        result.outcome = ReadingOutcome::Cancelled;
        return result;
    }
    if (!found) {
        observer.statusText(notFoundText(portSlots));
        return result;
    }
    result.portShortName = found->shortName;

    observer.phase(ReadingPhase::Transferring);
    observer.statusText(text("НКП-3, подключен к порту ") + found->shortName);
    observer.gauge(0);
    port.purge();
    port.applyTimeouts(transferTimeouts());
    clock.sleepMs(kSettleBeforeCommandMs);
    port.write(&kSendImageCommand, 1);
    bool stopped = false;
    result.bytesReceived = receive(port, observer, stopped);
    if (stopped) {
        stopTransfer(port);
        cancelled(port, observer);
        result.outcome = ReadingOutcome::Cancelled;
        return result;
    }

    if (result.bytesReceived != kImageSize) {
        observer.statusText(text("Ошибка считывания!"));
        observer.phase(ReadingPhase::Failed);
        port.restoreLineSettings();
        if (port.isOpen()) {
            port.restoreTimeouts();
            port.close();
        }
        observer.statusText(
            text("Считывание прервано на ") + std::to_string(result.bytesReceived) + text(" байте!"));
        observer.gauge(0);
        result.outcome = ReadingOutcome::Interrupted;
        return result;
    }

    // The line settings stay as they are on this path; only the timeouts go back.
    port.restoreTimeouts();
    port.close();
    observer.phase(ReadingPhase::Checking);
    observer.gauge(0);
    observer.statusText(
        text("Считано ") + std::to_string(result.bytesReceived) + text(" байт. Расчет контрольной суммы..."));
    if (checkImage(observer)) {
        observer.phase(ReadingPhase::Done);
        observer.statusText(text("Считывание успешно завершено!"));
        result.outcome = ReadingOutcome::Success;
    } else {
        observer.phase(ReadingPhase::ChecksumMismatch);
        observer.statusText(text("Несоответствие контрольной суммы!"));
        result.outcome = ReadingOutcome::ChecksumMismatch;
    }
    observer.gauge(0);
    // An image that failed the check can still be saved.
    unsaved_ = true;
    return result;
}

bool DeviceReader::probe(
    const PortSlot& slot, SerialPortIo& port, base::Clock& clock, ReadingObserver& observer)
{
    observer.statusText(text("Опрашивается порт ") + slot.shortName + "...");
    if (!port.open(slot.deviceName))
        return false;
    port.applyLineSettings(deviceLineSettings());
    port.applyTimeouts(probeTimeouts());
    clock.sleepMs(kSettleBeforeProbeMs);
    port.purge();

    // Each byte drained stands for one single-byte read of the protocol.
    std::array<std::uint8_t, kDrainReads> drain {};
    std::size_t drained = 0;
    while (drained < kDrainReads && !observer.cancelRequested()) {
        const std::size_t n = port.read(drain.data(), kDrainReads - drained);
        if (n == 0)
            break;
        drained += n;
    }

    std::uint8_t answer = 0;
    if (port.write(&kProbeByte, 1) == 1 && port.read(&answer, 1) == 1 && answer == kProbeAnswer)
        return true;
    port.restoreLineSettings();
    port.restoreTimeouts();
    port.close();
    return false;
}

std::size_t DeviceReader::receive(SerialPortIo& port, ReadingObserver& observer, bool& cancelled)
{
    Gauge gauge(observer);
    gauge.set(0);
    observer.progress(0);
    std::size_t k = 0;
    while (k < kImageSize) {
        if (observer.cancelRequested()) {
            cancelled = true;
            return k;
        }
        const std::size_t n = port.read(image_.data() + k, kImageSize - k);
        if (n == 0)
            return k;
        k += n;
        gauge.set(static_cast<int>(k / kTransferGaugeStep));
        observer.progress(k);
    }
    // The image is full; whatever still comes is counted and discarded until
    // the line falls silent, so that a longer transfer is not taken for a good one.
    std::array<std::uint8_t, 4096> surplus {};
    std::size_t extra = 0;
    while (extra < kMaxSurplusBytes) {
        if (observer.cancelRequested()) {
            cancelled = true;
            return k + extra;
        }
        const std::size_t n = port.read(surplus.data(), std::min(surplus.size(), kMaxSurplusBytes - extra));
        if (n == 0)
            break;
        extra += n;
        observer.progress(k + extra);
    }
    return k + extra;
}

// A transfer stopped half-way: the device would go on sending the rest of
// its image, and the next probe would read those bytes for its answer. The
// probe byte makes the device drop the transfer; what is still on its way is
// read and discarded until the line falls silent.
void DeviceReader::stopTransfer(SerialPortIo& port)
{
    if (!port.isOpen())
        return;
    port.applyTimeouts(probeTimeouts());
    port.write(&kProbeByte, 1);
    std::array<std::uint8_t, 4096> rest {};
    for (std::size_t drained = 0; drained < kImageSize + kMaxSurplusBytes;) {
        const std::size_t n = port.read(rest.data(), rest.size());
        if (n == 0)
            break;
        drained += n;
    }
    port.purge();
}

// The user stopped the reading: the port goes back as it was and is closed,
// nothing is marked unsaved.
void DeviceReader::cancelled(SerialPortIo& port, ReadingObserver& observer) const
{
    if (port.isOpen()) {
        port.restoreLineSettings();
        port.restoreTimeouts();
        port.close();
    }
    observer.phase(ReadingPhase::Cancelled);
    observer.statusText(text("Считывание прервано пользователем"));
    observer.gauge(0);
}

bool DeviceReader::checkImage(ReadingObserver& observer) const
{
    // Summed piece by piece so that the gauge moves; the pieces' sums add up
    // to the whole image's, modulo 2^32 as the recorder counts.
    Gauge gauge(observer);
    std::uint32_t sum = 0;
    for (std::size_t start = 0; start < recorder::kChecksumCoveredSize; start += kChecksumGaugeStep) {
        gauge.set(static_cast<int>(start / kChecksumGaugeStep));
        const std::size_t end = std::min(start + kChecksumGaugeStep, recorder::kChecksumCoveredSize);
        sum += recorder::imageChecksum(image_.data() + start, end - start);
    }
    gauge.set(static_cast<int>((recorder::kChecksumCoveredSize - 1) / kChecksumGaugeStep));
    return sum == recorder::imageStoredChecksum(image_.data(), image_.size());
}

}  // namespace nkp::device
