#include "link/serial_port_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
TEST(Win32SerialPort, RefusesWhatIsNoPortWithABoundedWriteAndSaysWhy) {
    const auto file = std::filesystem::temp_directory_path() / "tastolink-not-a-port.txt";
    std::ofstream(file, std::ios::binary) << "keep";
    using enum PortFailure::Kind;
    const std::pair<std::string, PortFailure::Kind> cases[] = {
        {"COM97", Absent}, {file.string(), NotADevice}, {"NUL", Refused}};
    for (const auto& [name, kind] : cases) {
        PortOpening opening = Win32SerialPortOpener().Open(name);
        ASSERT_TRUE(std::holds_alternative<PortFailure>(opening)) << name;
        EXPECT_EQ(std::get<PortFailure>(opening).kind, kind) << name;
    }
    EXPECT_EQ(std::filesystem::file_size(file), 4u);
    std::filesystem::remove(file);
}

// Against a virtual phone that vanishes halfway through its first answer, which
// tests/e2e/tests.cmake starts behind TASTOLINK_TEST_PORT: the half answer is read, then the
// port is lost to the reader and to a write alike, which the watched port waits for.
TEST(Win32SerialPortWithPhone, PhoneThatVanishesMidAnswerIsLostToReaderAndWriter) {
    const char* name = std::getenv("TASTOLINK_TEST_PORT");
    if (!name) GTEST_SKIP() << "no virtual phone: TASTOLINK_TEST_PORT is not set";
    PortOpening opening = Win32SerialPortOpener().Open(name);
    auto* port = std::get_if<std::unique_ptr<SerialPort>>(&opening);
    ASSERT_TRUE(port);
    ASSERT_EQ((*port)->Write("AT+CKPD=\"5\"\r\n"), WriteOutcome::Written);
    std::string heard;
    ReadOutcome outcome = ReadOutcome::Received;
    for (int read = 0; read < 1000 && outcome != ReadOutcome::Lost; ++read) outcome = (*port)->Read(heard);
    EXPECT_EQ(outcome, ReadOutcome::Lost);
    EXPECT_TRUE(std::string_view("\r\nO").starts_with(heard)) << heard;  // what came before the loss
    EXPECT_EQ((*port)->Write("AT+CKPD=\"5\"\r\n"), WriteOutcome::Lost);
}

}  // namespace tastolink
