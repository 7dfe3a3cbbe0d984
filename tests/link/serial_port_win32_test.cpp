// The serial channel on real Windows handles, run under Wine. The tests that need a phone
// on the other end run when TASTOLINK_TEST_PORT names a COM port with the virtual phone
// behind it and TASTOLINK_TEST_PHONE_LOG is the phone's log (a Unix path, read through
// Z:); tests/e2e/with-virtual-phone.sh sets both.

#include "link/serial_port_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/phone_key_table.h"
#include "link/serial_channel.h"

namespace tastolink {
namespace {

class RecordedMessages : public ChannelMessages {
public:
    void ShowChannelFailure(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// One received line as the virtual phone logged it.
struct PhoneLogLine {
    std::string bytes;
    std::string row;  // 1 to 26, or "-" for a line that is not a keypad command
};

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

class PhoneLog {
public:
    explicit PhoneLog(const std::string& unixPath) : path_("Z:" + unixPath) {}

    std::vector<PhoneLogLine> Read() const {
        std::vector<PhoneLogLine> lines;
        std::ifstream file(path_);
        std::string text;
        while (std::getline(file, text)) {
            std::istringstream fields(text);
            std::string ms, hex, row;
            if (fields >> ms >> hex >> row) lines.push_back({FromHex(hex), row});
        }
        return lines;
    }

    // The log once it holds at least `count` lines, or as it is when they don't come.
    std::vector<PhoneLogLine> WaitForLines(std::size_t count) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::vector<PhoneLogLine> lines = Read();
        while (lines.size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            lines = Read();
        }
        return lines;
    }

private:
    std::string path_;
};

// Ports from COM10 up only open through the device namespace; other names stay as typed.
TEST(Win32SerialPort, NumberedComPortsGoThroughTheDeviceNamespace) {
    EXPECT_EQ(DevicePathForPort("COM12"), "\\\\.\\COM12");
    EXPECT_EQ(DevicePathForPort("com3"), "\\\\.\\com3");
    for (const char* asTyped : {"COM", "COM1x", "COM 1", "C:\\port.txt", "", "\\\\.\\COM5"})
        EXPECT_EQ(DevicePathForPort(asTyped), asTyped);
}

TEST(Win32SerialPort, MissingPortFailsToOpenAndEveryPressReportsIt) {
    Win32PortOpener opener;
    RecordedMessages messages;
    SerialChannel channel(opener, messages);

    channel.OpenPort("COM97");
    channel.Press(KeypadCommand(kPhoneKeyTable[0]));

    EXPECT_EQ(channel.State(), ChannelState::FailedOpen);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{std::string(kCannotChoosePort) + "COM97",
                                                        std::string(kCannotSendTo) + "COM97"}));
}

TEST(Win32SerialPort, PlainFileIsNotTakenForAPortAndIsLeftAsItWas) {
    char directory[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, directory), 0u);
    const std::string path = std::string(directory) + "tastolink-not-a-port.txt";
    { std::ofstream(path, std::ios::binary) << "keep"; }

    Win32PortOpener opener;
    RecordedMessages messages;
    SerialChannel channel(opener, messages);
    channel.OpenPort(path);
    channel.Press(KeypadCommand(kPhoneKeyTable[0]));

    EXPECT_EQ(channel.State(), ChannelState::FailedOpen);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{std::string(kCannotChoosePort) + path,
                                                        std::string(kCannotSendTo) + path}));
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "keep");
    file.close();
    DeleteFileA(path.c_str());
}

class Win32SerialPortWithPhone : public testing::Test {
protected:
    void SetUp() override {
        port_ = Environment("TASTOLINK_TEST_PORT");
        const std::string logPath = Environment("TASTOLINK_TEST_PHONE_LOG");
        if (port_.empty() || logPath.empty())
            GTEST_SKIP() << "no virtual phone: TASTOLINK_TEST_PORT and TASTOLINK_TEST_PHONE_LOG are not set";
        log_.emplace(logPath);
        linesBefore_ = log_->Read().size();
    }

    // The lines that arrived since the test began, once there are `count` of them.
    std::vector<PhoneLogLine> NewLines(std::size_t count) const {
        std::vector<PhoneLogLine> lines = log_->WaitForLines(linesBefore_ + count);
        return {lines.begin() + static_cast<std::ptrdiff_t>(linesBefore_), lines.end()};
    }

    std::string port_;
    std::optional<PhoneLog> log_;
    std::size_t linesBefore_ = 0;
    Win32PortOpener opener_;
    RecordedMessages messages_;
};

TEST_F(Win32SerialPortWithPhone, EveryRowsLineArrivesByteForByteInOrder) {
    SerialChannel channel(opener_, messages_);
    channel.OpenPort(port_);
    ASSERT_EQ(channel.State(), ChannelState::Open);
    for (const PhoneKey& key : kPhoneKeyTable) channel.Press(KeypadCommand(key));

    const std::vector<PhoneLogLine> lines = NewLines(kPhoneKeyCount);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kPhoneKeyCount));
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        EXPECT_EQ(lines[row].bytes, KeypadCommand(kPhoneKeyTable[row])) << "row " << row + 1;
        EXPECT_EQ(lines[row].row, std::to_string(row + 1));
    }
    EXPECT_EQ(messages_.shown, std::vector<std::string>{});
}

TEST_F(Win32SerialPortWithPhone, ChoosingTheSamePortAgainKeepsTheLineWorking) {
    SerialChannel channel(opener_, messages_);
    channel.OpenPort(port_);
    channel.OpenPort(port_);
    EXPECT_EQ(channel.State(), ChannelState::Open);
    const std::string line = KeypadCommand(kPhoneKeyTable[13]);  // a 14-byte colon code
    channel.Press(line);
    channel.Press(line);

    const std::vector<PhoneLogLine> lines = NewLines(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].bytes, line);
    EXPECT_EQ(lines[1].bytes, line);
    EXPECT_EQ(messages_.shown, std::vector<std::string>{});
}

}  // namespace
}  // namespace tastolink
