#pragma once

#include "device/PortList.h"

#include <vector>

namespace nkp::device {

// The system's serial ports, as QSerialPortInfo lists them, and the links in
// /dev named like them, in slot order.
std::vector<PortSlot> systemPortSlots();

}  // namespace nkp::device
