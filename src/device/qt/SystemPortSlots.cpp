#include "device/qt/SystemPortSlots.h"

#include <QSerialPortInfo>

namespace nkp::device {

std::vector<PortSlot> systemPortSlots()
{
    std::vector<std::string> names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names.push_back(info.portName().toStdString());
    for (std::string& link : serialPortLinks())
        names.push_back(std::move(link));
    return orderPortSlots(names);
}

}  // namespace nkp::device
