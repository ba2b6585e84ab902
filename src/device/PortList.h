#pragma once

#include <string>
#include <vector>

namespace nkp::device {

// One of the slots the device search goes through.
struct PortSlot {
    std::string shortName;   // shown to the user, e.g. "ttyUSB0"
    std::string deviceName;  // opened, e.g. "/dev/ttyUSB0"
    bool operator==(const PortSlot&) const = default;
};

inline constexpr std::size_t kPortSlotCount = 15;

// Orders serial port names (without "/dev/") into the search slots: USB
// adapters ttyUSB*, then ttyACM*, then ttyS*, each by number; other names are
// left out; at most 15 slots.
std::vector<PortSlot> orderPortSlots(
    const std::vector<std::string>& names, const std::string& devDir = "/dev");

// The symbolic links in `devDir` named like the ports of the search, such as
// /dev/ttyUSB7 -> /dev/pts/3 (made by udev rules, socat, or by hand for the
// device emulator): the system's port list does not enumerate them, yet they
// name a serial line all the same. In directory order.
std::vector<std::string> serialPortLinks(const std::string& devDir = "/dev");

}  // namespace nkp::device
