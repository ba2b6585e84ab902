#include "ui/reading/Readnkp3Worker.h"

#include "base/Codec.h"

ReadingWorker::ReadingWorker(nkp::device::DeviceReader& reader, const ReadingDeviceAccess& access)
    : reader_(reader)
    , access_(access)
{
}

void ReadingWorker::run()
{
    nkp::device::ReadingResult result;
    {
        const std::vector<nkp::device::PortSlot> portSlots = access_.portSlots();
        const std::unique_ptr<nkp::device::SerialPortIo> port = access_.makePort();
        result = reader_.read(portSlots, *port, *access_.clock, *this);
    }  // the port is gone before the window hears of the end
    port_ = result.portShortName;
    emit finished(static_cast<int>(result.outcome));
}

std::size_t ReadingWorker::takeProgress()
{
    progressPending_ = false;
    return bytes_;
}

void ReadingWorker::statusText(const std::string& cp1251)
{
    emit statusTextChanged(QString::fromStdString(nkp::codec::cp1251ToUtf8(cp1251)));
}

void ReadingWorker::phase(nkp::device::ReadingPhase phase)
{
    emit phaseChanged(static_cast<int>(phase));
}

void ReadingWorker::gauge(int position)
{
    emit gaugeChanged(position);
}

void ReadingWorker::progress(std::size_t bytesReceived)
{
    bytes_ = bytesReceived;
    if (!progressPending_.exchange(true))
        emit progressAvailable();
}
