#include "link/serial_port_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tastolink {

TEST(Win32SerialPort, NumberedComPortsInAnyCaseGoThroughTheDeviceNamespace) {
    for (const char* name : {"COM12", "com3", "cOM7"})
        EXPECT_EQ(DevicePathForPort(name), "\\\\.\\" + std::string(name));
    for (const char* asTyped : {"COM", "COM1x", "CON1", "", "\\\\.\\COM5"})
        EXPECT_EQ(DevicePathForPort(asTyped), asTyped);
}

// Only a device that takes a write time-out is a port: not a missing one, not a plain file
// (which the lines would overwrite), not the null device (whose writes could block unbounded).
TEST(Win32SerialPort, RefusesWhatIsNoPortWithABoundedWrite) {
    const auto file = std::filesystem::temp_directory_path() / "tastolink-not-a-port.txt";
    std::ofstream(file, std::ios::binary) << "keep";
    for (const std::string& name : {std::string("COM97"), file.string(), std::string("NUL")})
        EXPECT_EQ(Win32PortOpener().Open(name), nullptr) << name;
    EXPECT_EQ(std::filesystem::file_size(file), 4u);
    std::filesystem::remove(file);
}

}  // namespace tastolink
