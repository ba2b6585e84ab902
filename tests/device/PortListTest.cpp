#include "device/PortList.h"

#include <gtest/gtest.h>

using nkp::device::orderPortSlots;
using nkp::device::PortSlot;

TEST(PortList, UsbThenAcmThenSerialEachByNumberAtMostFifteen)
{
    std::vector<std::string> names
        = {"ttyS10", "ttyS2", "ttyACM0", "ttyUSB10", "ttyUSB2", "pts", "ttyUSBx", "ttyS", "ttyS2", "console"};
    for (int n = 11; n < 30; ++n)
        names.push_back("ttyS" + std::to_string(n));
    const auto portSlots = orderPortSlots(names, "/dev");
    ASSERT_EQ(portSlots.size(), 15u);
    EXPECT_EQ(portSlots[0], (PortSlot {"ttyUSB2", "/dev/ttyUSB2"}));
    EXPECT_EQ(portSlots[1].shortName, "ttyUSB10");
    EXPECT_EQ(portSlots[2].shortName, "ttyACM0");
    EXPECT_EQ(portSlots[3].shortName, "ttyS2");
    EXPECT_EQ(portSlots[4].shortName, "ttyS10");
    EXPECT_EQ(portSlots[14].shortName, "ttyS20");
    EXPECT_TRUE(orderPortSlots({}).empty());
}
