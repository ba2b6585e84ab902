#include "device/PortList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

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

// Links named like search ports count; plain files, other names and a
// missing folder do not.
TEST(PortList, LinksNamedLikePortsAreFound)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("nkp_ports_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::create_symlink("/dev/null", dir / "ttyUSB7");
    fs::create_symlink("/dev/null", dir / "ttyACM1");
    fs::create_symlink("/dev/null", dir / "modem");
    std::ofstream(dir / "ttyUSB3") << "";
    auto links = nkp::device::serialPortLinks(dir.string());
    std::sort(links.begin(), links.end());
    EXPECT_EQ(links, (std::vector<std::string> {"ttyACM1", "ttyUSB7"}));
    EXPECT_EQ(orderPortSlots(links, dir.string())[0], (PortSlot {"ttyUSB7", (dir / "ttyUSB7").string()}));
    fs::remove_all(dir);
    EXPECT_TRUE(nkp::device::serialPortLinks(dir.string()).empty());
}
