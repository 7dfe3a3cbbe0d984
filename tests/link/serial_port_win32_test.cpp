// The port on real Windows handles, run under Wine. The test with a phone on the other end
// runs when TASTOLINK_TEST_PORT names a COM port with the virtual phone behind it and
// TASTOLINK_TEST_PHONE_LOG is the phone's log (a Unix path, read through Z:);
// tests/e2e/with-virtual-phone.sh sets both.

#include "link/serial_port_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace tastolink {
namespace {

TEST(Win32SerialPort, NumberedComPortsInAnyCaseGoThroughTheDeviceNamespace) {
    for (const char* name : {"COM12", "com3", "Com12", "cOM7"})
        EXPECT_EQ(DevicePathForPort(name), "\\\\.\\" + std::string(name));
    for (const char* asTyped : {"COM", "COM1x", "COM 1", "CON1", "C:\\port.txt", "", "\\\\.\\COM5"})
        EXPECT_EQ(DevicePathForPort(asTyped), asTyped);
}

// Only a device that takes a write time-out is a port: a missing one, a plain file (which
// writes would overwrite) and the null device (no time-out, so a write could block) are not.
TEST(Win32SerialPort, RefusesWhatIsNoPortWithABoundedWrite) {
    char directory[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, directory), 0u);
    const std::string file = std::string(directory) + "tastolink-not-a-port.txt";
    { std::ofstream(file, std::ios::binary) << "keep"; }

    Win32PortOpener opener;
    for (const std::string& name : {std::string("COM97"), file, std::string("NUL")})
        EXPECT_EQ(opener.Open(name), nullptr) << name;
    std::ifstream kept(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");
    kept.close();
    DeleteFileA(file.c_str());
}

// The phone's log, one line per received line: milliseconds, the bytes in hexadecimal, the row.
std::string HexOfLoggedLines(const std::string& unixPath) {
    std::ifstream log("Z:" + unixPath);
    std::string line, hexes, ms, hex;
    while (std::getline(log, line))
        if (std::istringstream(line) >> ms >> hex) hexes += hex + " ";
    return hexes;
}

TEST(Win32SerialPortWithPhone, LinesArriveWholeThroughAPortNamedInMixedCase) {
    const char* port = std::getenv("TASTOLINK_TEST_PORT");
    const char* log = std::getenv("TASTOLINK_TEST_PHONE_LOG");
    if (!port || !log)
        GTEST_SKIP() << "no virtual phone: TASTOLINK_TEST_PORT and TASTOLINK_TEST_PHONE_LOG are not set";
    std::string mixedCase = port;
    mixedCase[1] = static_cast<char>(std::tolower(mixedCase[1]));  // "COM12" becomes "CoM12"
    const std::string before = HexOfLoggedLines(log);

    Win32PortOpener opener;
    auto first = opener.Open(mixedCase);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(first->Write("AT+CKPD=\":R\"\r\n"));
    first.reset();
    auto second = opener.Open(port);
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(second->Write("AT+CKPD=\"5\"\r\n"));

    const std::string expected = before + "41542b434b50443d223a52220d0a 41542b434b50443d2235220d0a ";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (HexOfLoggedLines(log) != expected && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(HexOfLoggedLines(log), expected);
}

}  // namespace
}  // namespace tastolink
