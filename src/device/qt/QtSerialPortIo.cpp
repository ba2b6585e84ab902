#include "device/qt/QtSerialPortIo.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>

namespace nkp::device {

QtSerialPortIo::~QtSerialPortIo()
{
    close();
}

bool QtSerialPortIo::open(const std::string& deviceName)
{
    close();
    port_.setPortName(QString::fromStdString(deviceName));
    if (!port_.open(QIODevice::ReadWrite))
        return false;
    savedSettings_ = PortSettings {
        port_.baudRate(), port_.dataBits(), port_.parity(), port_.stopBits(), port_.flowControl()};
    // A freshly opened port has no timeouts of its own: reads return at once.
    savedTimeouts_ = Timeouts {};
    timeouts_ = savedTimeouts_;
    return true;
}

bool QtSerialPortIo::isOpen() const
{
    return port_.isOpen();
}

void QtSerialPortIo::applyLineSettings(const LineSettings& s)
{
    if (!port_.isOpen())
        return;
    // Failures are not examined: the bytes that arrive decide. Some ports
    // (pseudo-terminals) have no modem lines at all.
    port_.setBaudRate(s.baudRate);
    port_.setDataBits(static_cast<QSerialPort::DataBits>(std::clamp(s.dataBits, 5, 8)));
    port_.setParity(s.parity == Parity::Even ? QSerialPort::EvenParity
            : s.parity == Parity::Odd        ? QSerialPort::OddParity
                                             : QSerialPort::NoParity);
    port_.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setDataTerminalReady(s.dtr);
    port_.setRequestToSend(s.rts);
    port_.clearError();
}

void QtSerialPortIo::applyTimeouts(const Timeouts& timeouts)
{
    timeouts_ = timeouts;
}

void QtSerialPortIo::purge()
{
    if (!port_.isOpen())
        return;
    port_.clear(QSerialPort::AllDirections);
    port_.clearError();
}

std::size_t QtSerialPortIo::read(std::uint8_t* buffer, std::size_t maxBytes)
{
    if (!port_.isOpen() || maxBytes == 0)
        return 0;
    // QSerialPort fetches from the device only inside its wait calls; loop
    // until a byte is buffered or the wait for the first byte has run out.
    QElapsedTimer timer;
    timer.start();
    const qint64 wait = timeouts_.firstByteWaitMs();
    while (port_.bytesAvailable() == 0) {
        const qint64 left = wait - timer.elapsed();
        if (left <= 0 || !port_.waitForReadyRead(static_cast<int>(left))) {
            if (port_.bytesAvailable() > 0)
                break;
            // A failed port (unplugged, hung up) counts as a silent one.
            return 0;
        }
    }
    const qint64 n = port_.read(reinterpret_cast<char*>(buffer), static_cast<qint64>(maxBytes));
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::size_t QtSerialPortIo::write(const std::uint8_t* data, std::size_t size)
{
    if (!port_.isOpen() || size == 0)
        return 0;
    const qint64 n = port_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    if (n <= 0)
        return 0;
    const int wait = timeouts_.writeTotalMultiplier * static_cast<int>(size) + timeouts_.writeTotalConstant;
    port_.waitForBytesWritten(std::max(wait, 1));
    const qint64 pending = std::clamp<qint64>(port_.bytesToWrite(), 0, n);
    return static_cast<std::size_t>(n - pending);
}

void QtSerialPortIo::restoreLineSettings()
{
    if (!port_.isOpen() || !savedSettings_)
        return;
    port_.setBaudRate(savedSettings_->baudRate);
    port_.setDataBits(savedSettings_->dataBits);
    port_.setParity(savedSettings_->parity);
    port_.setStopBits(savedSettings_->stopBits);
    port_.setFlowControl(savedSettings_->flowControl);
    port_.clearError();
}

void QtSerialPortIo::restoreTimeouts()
{
    timeouts_ = savedTimeouts_;
}

void QtSerialPortIo::close()
{
    if (port_.isOpen())
        port_.close();
    port_.clearError();
    savedSettings_.reset();
}

}  // namespace nkp::device
