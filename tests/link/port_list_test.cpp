#include "link/port_list.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

constexpr std::string_view kFixed[] = {"COM1", "COM2", "COM3", "COM4", "COM5"};

// As read from a machine with a phone and two adapters: the values of SERIALCOMM (Wine's from its
// dosdevices links; a USB CDC modem's and a CH340's), and SetupAPI's friendly names.
TEST(PortList, TheFixedPortsThenTheSystemsOwnInNumericOrderWithTheirDevicesNames) {
    const std::vector<std::string> serialComm{"COM1", "COM12", std::string("COM7\0", 5),
                                              "com3", "CNCA0", "COM12"};
    const std::vector<PortDevice> devices{{"COM7", "Samsung Mobile USB Modem (COM7)"},
                                          {"COM3", "Communications Port (COM3)"},
                                          {"COM12", "USB-SERIAL CH340 (com12)"},
                                          {"COM9", "Gone Adapter (COM9)"}};
    EXPECT_EQ(PortEntries(kFixed, serialComm, devices), (std::vector<PortEntry>{
                                                            {"COM1", "", true},
                                                            {"COM2", "", false},
                                                            {"COM3", "Communications Port", true},
                                                            {"COM4", "", false},
                                                            {"COM5", "", false},
                                                            {"COM7", "Samsung Mobile USB Modem", true},
                                                            {"COM12", "USB-SERIAL CH340", true},
                                                            {"CNCA0", "", true},
                                                        }));
    EXPECT_EQ(DeviceName("Bluetooth Link", "COM8"), "Bluetooth Link");
}

}  // namespace
}  // namespace tastolink
