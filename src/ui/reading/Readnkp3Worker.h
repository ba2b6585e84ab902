#pragma once

#include "base/Clock.h"
#include "device/DeviceReader.h"
#include "device/PortList.h"
#include "device/SerialPortIo.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

// Where the reading window finds its ports and its time; tests put
// pseudo-terminals, scripted ports and a virtual clock here.
struct ReadingDeviceAccess {
    std::function<std::vector<nkp::device::PortSlot>()> portSlots;         // default: the system's ports
    std::function<std::unique_ptr<nkp::device::SerialPortIo>()> makePort;  // default: QSerialPort
    nkp::base::Clock* clock = nullptr;                                     // default: the system clock
};

// One reading, run in a thread of its own: the port search, the transfer and
// the checksum. The port is made, used and destroyed in that thread (a serial
// port object belongs to the thread that made it); everything the window
// shows arrives through queued signals.
class ReadingWorker : public QObject, private nkp::device::ReadingObserver {
    Q_OBJECT

public:
    // `reader` is not touched by anyone else until finished() arrives.
    ReadingWorker(nkp::device::DeviceReader& reader, const ReadingDeviceAccess& access);

    // Safe from any thread: the reading stops at its next read.
    void requestCancel() { cancel_ = true; }
    // The latest count of bytes received; re-arms progressAvailable().
    std::size_t takeProgress();
    // The port that answered, once finished() arrived ("" when none did).
    const std::string& portShortName() const { return port_; }

public slots:
    void run();

signals:
    void statusTextChanged(const QString& text);
    void phaseChanged(int phase);  // nkp::device::ReadingPhase
    void gaugeChanged(int position);
    // New bytes arrived since the last takeProgress(); sent once until then,
    // so a fast device does not flood the window's event queue.
    void progressAvailable();
    void finished(int outcome);  // nkp::device::ReadingOutcome

private:
    void statusText(const std::string& cp1251) override;
    void phase(nkp::device::ReadingPhase phase) override;
    void gauge(int position) override;
    void progress(std::size_t bytesReceived) override;
    bool cancelRequested() const override { return cancel_; }

    nkp::device::DeviceReader& reader_;
    ReadingDeviceAccess access_;
    std::atomic<bool> cancel_ {false};
    std::atomic<std::size_t> bytes_ {0};
    std::atomic<bool> progressPending_ {false};
    std::string port_;
};
