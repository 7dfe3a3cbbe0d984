#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tastolink {

// A serial port as the system's device list gives it: its port name and its friendly name
// ("Samsung Mobile USB Modem (COM7)").
struct PortDevice {
    std::string port;
    std::string friendlyName;
};

// An entry of the port selector's list: the port's name as "Выбрать" opens it, and, for a
// port the system has, the name of the device behind it where one is known.
struct PortEntry {
    std::string name;
    std::string device;
    bool present = false;

    bool operator==(const PortEntry&) const = default;
};

// The entries while the ports are watched: the fixed ports first, as always, present or not,
// then every other port the system has, COM ports in the order of their numbers (COM7 before
// COM12) and other names after them. Names compare without regard to case; each port is listed
// once. `systemPorts` are the port names the system has (HARDWARE\DEVICEMAP\SERIALCOMM).
std::vector<PortEntry> PortEntries(std::span<const std::string_view> fixedPorts,
                                   const std::vector<std::string>& systemPorts,
                                   const std::vector<PortDevice>& devices);

// The device's own name, without the port that the system adds to a friendly name:
// "Samsung Mobile USB Modem (COM7)" gives "Samsung Mobile USB Modem".
std::string DeviceName(std::string_view friendlyName, std::string_view port);

}  // namespace tastolink
