#include "link/serial_port_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tastolink {
namespace {

TEST(Win32SerialPort, NumberedComPortsInAnyCaseGoThroughTheDeviceNamespace) {
    for (const char* name : {"COM12", "com3", "Com12", "cOM7"})
        EXPECT_EQ(DevicePathForPort(name), "\\\\.\\" + std::string(name));
    for (const char* asTyped : {"COM", "COM1x", "COM 1", "CON1", "C:\\port.txt", "", "\\\\.\\COM5"})
        EXPECT_EQ(DevicePathForPort(asTyped), asTyped);
}

// Only a device that takes a write time-out is a port: not a missing one, not a plain file
// (which the lines would overwrite), not the null device (whose writes could block unbounded).
TEST(Win32SerialPort, RefusesWhatIsNoPortWithABoundedWrite) {
    const std::string file = (std::filesystem::temp_directory_path() / "tastolink-not-a-port.txt").string();
    std::ofstream(file, std::ios::binary) << "keep";
    Win32PortOpener opener;
    for (const std::string& name : {std::string("COM97"), file, std::string("NUL")})
        EXPECT_EQ(opener.Open(name), nullptr) << name;
    std::ifstream kept(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    kept.close();
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace tastolink
