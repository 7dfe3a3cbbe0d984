#include "link/port_discovery_posix.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <fstream>

#include "shared/file_descriptor_posix.h"

namespace tastolink {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::vector<SerialPortInfo>& ports) {
    std::vector<std::string> lines;
    for (const SerialPortInfo& port : ports) lines.push_back(PortLine(port));
    return lines;
}

// A machine's tree as sysfs and udev lay it out, in a temporary folder: a USB modem with its by-id
// link, a USB serial adapter without names, two 8250 ports with a UART and one without, a virtual
// console, a test rig's pseudo-terminal linked into by-id, and a link whose device is gone.
TEST(PortDiscovery, EachPortWithWhatLinuxKnowsOfItsDevice) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const FileDescriptor masterEnd(master), slaveEnd(slave);
    const std::string pty = ttyname(slave);
    const fs::path root = fs::temp_directory_path() / ("tastolink-machine-" + std::to_string(getpid()));
    const std::string modem = "sys/devices/pci0000:00/usb1/1-1/",
                      adapter = "sys/devices/pci0000:00/usb1/1-2/", uart = "sys/devices/pnp0/00:0",
                      tty = "sys/class/tty/";
    const std::pair<std::string, std::string> files[] = {{modem + "manufacturer", "Sony Ericsson\n"},
                                                         {modem + "product", "K750\n"},
                                                         {modem + "1-1:1.1/bInterfaceNumber", "01\n"},
                                                         {modem + "1-1:1.1/interface", "USB modem\n"},
                                                         {adapter + "idVendor", "1a86\n"},
                                                         {adapter + "idProduct", "7523\n"},
                                                         {adapter + "1-2:1.0/bInterfaceNumber", "00"},
                                                         {adapter + "1-2:1.0/ttyUSB0/uevent", ""},
                                                         {uart + "4/id", "PNP0501\n"},
                                                         {uart + "5/id", "PNP0501\n"},
                                                         {tty + "ttyS2/type", "4\n"},
                                                         {tty + "ttyS10/type", "4\n"},
                                                         {tty + "ttyS1/type", "0\n"},
                                                         {"sys/devices/platform/serial8250/uevent", ""},
                                                         {tty + "tty1/dev", "4:1\n"},
                                                         {"dev/ttyACM0", ""},
                                                         {"home/keys.txt", "0 M\n"}};
    const std::pair<std::string, fs::path> links[] = {
        {tty + "ttyACM0/device", root / modem / "1-1:1.1"},
        {tty + "ttyUSB0/device", root / adapter / "1-2:1.0/ttyUSB0"},
        {tty + "ttyS2/device", root / (uart + "4")},
        {tty + "ttyS10/device", root / (uart + "5")},
        {tty + "ttyS1/device", root / "sys/devices/platform/serial8250"},
        {"dev/serial/by-id/usb-Sony_Ericsson_K750-if01", "../../ttyACM0"},
        {"dev/serial/by-id/rig-phone", pty},
        {"dev/serial/by-id/usb-Gone-if00", "../../ttyACM9"}};
    for (const auto& [path, text] : files) {
        fs::create_directories((root / path).parent_path());
        std::ofstream(root / path) << text;
    }
    for (const auto& [path, target] : links) {
        fs::create_directories((root / path).parent_path());
        fs::create_symlink(target, root / path);
    }

    const std::string modemLine =
        "/dev/ttyACM0  Sony Ericsson K750 (USB modem, interface 1)  "
        "/dev/serial/by-id/usb-Sony_Ericsson_K750-if01";
    EXPECT_EQ(Lines(ListSerialPorts(root)),
              (std::vector<std::string>{pty + "  pseudo-terminal  /dev/serial/by-id/rig-phone", modemLine,
                                        "/dev/ttyS2  serial port", "/dev/ttyS10  serial port",
                                        "/dev/ttyUSB0  USB device 1a86:7523 (interface 0)"}));
    EXPECT_EQ(Lines({DescribeSerialPort("/dev/serial/by-id/usb-Sony_Ericsson_K750-if01", root),
                     DescribeSerialPort("/dev/serial/by-id/usb-Gone-if00", root),
                     DescribeSerialPort("/home/keys.txt", root)}),
              (std::vector<std::string>{modemLine, "/dev/serial/by-id/usb-Gone-if00  not found",
                                        "/home/keys.txt  not a device"}));
    fs::remove_all(root);
}

}  // namespace
}  // namespace tastolink
