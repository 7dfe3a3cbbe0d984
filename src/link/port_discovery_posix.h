#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tastolink {

// A serial port of this machine and what Linux knows of its device.
struct SerialPortInfo {
    std::string path;         // the device, as it opens: "/dev/ttyACM0"
    std::string description;  // "Sony Ericsson K750 (USB modem, interface 1)", "pseudo-terminal"
    std::string link;         // the /dev/serial/by-id link to it, or the link it was named by

    bool operator==(const SerialPortInfo&) const = default;
};

// Every serial port of the machine whose file system starts at `root` (another folder only in
// tests), in path order: each tty of /sys/class/tty with a device behind it, except the 8250
// driver's ports with no UART, and each device a /dev/serial/by-id link leads to (a test rig
// may link a pseudo-terminal there).
std::vector<SerialPortInfo> ListSerialPorts(const std::filesystem::path& root = "/");

// What can be told of a port the user named, by its device or by a link to it.
SerialPortInfo DescribeSerialPort(const std::string& name, const std::filesystem::path& root = "/");

// The port's line in a list of ports:
// "/dev/ttyACM0  Sony Ericsson K750 (USB modem, interface 1)  /dev/serial/by-id/usb-Sony_Ericsson_K750-if01".
std::string PortLine(const SerialPortInfo& port);

}  // namespace tastolink
