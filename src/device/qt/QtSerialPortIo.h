#pragma once

#include "device/SerialPortIo.h"

#include <QSerialPort>

#include <optional>

namespace nkp::device {

// SerialPortIo on QSerialPort. Timeouts are kept here and applied to each
// read and write; the settings restored on request are the ones the port
// reported right after it was opened.
class QtSerialPortIo : public SerialPortIo {
public:
    QtSerialPortIo() = default;
    ~QtSerialPortIo() override;

    bool open(const std::string& deviceName) override;
    bool isOpen() const override;
    void applyLineSettings(const LineSettings& settings) override;
    void applyTimeouts(const Timeouts& timeouts) override;
    void purge() override;
    std::size_t read(std::uint8_t* buffer, std::size_t maxBytes) override;
    std::size_t write(const std::uint8_t* data, std::size_t size) override;
    void restoreLineSettings() override;
    void restoreTimeouts() override;
    void close() override;

private:
    struct PortSettings {
        qint32 baudRate;
        QSerialPort::DataBits dataBits;
        QSerialPort::Parity parity;
        QSerialPort::StopBits stopBits;
        QSerialPort::FlowControl flowControl;
    };

    QSerialPort port_;
    std::optional<PortSettings> savedSettings_;
    Timeouts savedTimeouts_;
    Timeouts timeouts_;
};

}  // namespace nkp::device
