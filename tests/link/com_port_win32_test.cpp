#include "link/com_port_win32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/answering_port_win32.h"
#include "link/serial_port_win32.h"

namespace tastolink {

TEST(Win32ComPort, NumberedComPortsInAnyCaseGoThroughTheDeviceNamespace) {
    for (const char* name : {"COM12", "com3", "cOM7"})
        EXPECT_EQ(DevicePathForPort(name), "\\\\.\\" + std::string(name));
    for (const char* asTyped : {"COM", "COM1x", "CON1", "", "\\\\.\\COM5"})
        EXPECT_EQ(DevicePathForPort(asTyped), asTyped);
}

// Only a device that takes a write time-out is a port: not a missing one, not a plain file
// (which the lines would overwrite), not the null device (whose writes could block unbounded).
// Both ports refuse alike; the answering one says why.
TEST(Win32ComPort, BothPortsRefuseWhatIsNoPortWithABoundedWrite) {
    const auto file = std::filesystem::temp_directory_path() / "tastolink-not-a-port.txt";
    std::ofstream(file, std::ios::binary) << "keep";
    auto inbox = std::make_shared<PortEventInbox>(nullptr);
    AnsweringPortOpener answering{inbox};
    const std::pair<std::string, std::string> cases[] = {
        {"COM97", "нет такого порта"}, {file.string(), "не устройство"}, {"NUL", "не принимает тайм-ауты"}};
    for (const auto& [name, reason] : cases) {
        EXPECT_EQ(Win32PortOpener().Open(name), nullptr) << name;
        EXPECT_EQ(answering.Open(name), nullptr) << name;
        EXPECT_EQ(inbox->TakeAll(), (std::vector<PortEvent>{{PortEvent::Kind::FailedOpen, name, reason}}));
    }
    EXPECT_EQ(std::filesystem::file_size(file), 4u);
    std::filesystem::remove(file);
}

}  // namespace tastolink
