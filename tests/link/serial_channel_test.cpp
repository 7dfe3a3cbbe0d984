#include "link/serial_channel.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "link/phone_key_table.h"

namespace tastolink {
namespace {

class FakePorts : public PortOpener {
public:
    struct Port : OpenedPort {
        Port(FakePorts& owner, std::string name) : owner(owner), name(std::move(name)) { ++owner.openCount; }
        ~Port() override { --owner.openCount; }
        bool Write(std::string_view bytes) override {
            if (owner.failWrites) return false;
            owner.written.emplace_back(name + ":" + std::string(bytes));
            return true;
        }
        FakePorts& owner;
        std::string name;
    };

    std::unique_ptr<OpenedPort> Open(const std::string& portName) override {
        requested.push_back(portName);
        // Like a real port opened without sharing: busy while a handle is open.
        if (missing || (openCount > 0 && portName == lastOpened)) return nullptr;
        lastOpened = portName;
        return std::make_unique<Port>(*this, portName);
    }

    std::vector<std::string> requested, written;
    std::string lastOpened;
    int openCount = 0;
    bool missing = false;
    bool failWrites = false;
};

class FakeMessages : public ChannelMessages {
public:
    void ShowChannelFailure(const std::string& text) override {
        shown.push_back(text);
        if (whileOpen) whileOpen();
    }
    std::vector<std::string> shown;
    std::function<void()> whileOpen;
};

class SerialChannelTest : public ::testing::Test {
protected:
    FakePorts ports;
    FakeMessages messages;
    SerialChannel channel{ports, messages};
};

TEST(KeypadCommand, EveryRowSendsItsCodeInOneLine) {
    const char* expected[kPhoneKeyCount] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "*", "#", ":L",
                                            ":R", ":X", ":C", ":0", "[", "]", "E", "S", "M", "U", "D", ":1", ":T"};
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        const std::string line = KeypadCommand(kPhoneKeyTable[row]);
        EXPECT_EQ(line, std::string("AT+CKPD=\"") + expected[row] + "\"\r\n") << "row " << row + 1;
        EXPECT_EQ(line.size(), expected[row][1] ? 14u : 13u);
    }
}

TEST(KeypadCommand, EachButtonBelongsToOneRow) {
    for (int button = 1; button <= kPhoneKeyCount; ++button) {
        const int row = RowOfKeypadButton(button);
        ASSERT_GE(row, 0) << "SpeedButton" << button;
        EXPECT_EQ(kPhoneKeyTable[row].keypadButton, button);
    }
    EXPECT_EQ(RowOfKeypadButton(0), -1);
    EXPECT_EQ(RowOfKeypadButton(27), -1);
}

TEST_F(SerialChannelTest, PressBeforeAnyPortIsChosenFailsWithoutAName) {
    EXPECT_EQ(channel.State(), ChannelState::NoPortChosen);
    channel.Press("AT+CKPD=\"5\"\r\n");
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Невозможно отправить "});
    EXPECT_EQ(channel.PendingCommand(), "AT+CKPD=\"5\"\r\n");
}

TEST_F(SerialChannelTest, FailedOpenNamesThePortInEveryLaterMessage) {
    ports.missing = true;
    channel.OpenPort("COM7");
    channel.Press("x");
    EXPECT_EQ(channel.State(), ChannelState::FailedOpen);
    EXPECT_EQ(messages.shown, (std::vector<std::string>{"Невозможно выбрать COM7", "Невозможно отправить COM7"}));
    channel.OpenPort("");
    EXPECT_EQ(messages.shown.back(), "Невозможно выбрать ");
}

TEST_F(SerialChannelTest, SuccessfulOpenSendsEachLineWholeAndShowsNothing) {
    channel.OpenPort("COM1");
    channel.Press("AT+CKPD=\":L\"\r\n");
    EXPECT_EQ(channel.State(), ChannelState::Open);
    EXPECT_EQ(ports.written, std::vector<std::string>{"COM1:AT+CKPD=\":L\"\r\n"});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SerialChannelTest, ChoosingAgainClosesTheCurrentPortFirst) {
    channel.OpenPort("COM1");
    channel.OpenPort("COM1");
    EXPECT_EQ(channel.State(), ChannelState::Open);
    EXPECT_TRUE(messages.shown.empty());
    channel.OpenPort("COM2");
    channel.Press("L");
    EXPECT_EQ(ports.openCount, 1);
    EXPECT_EQ(ports.written, std::vector<std::string>{"COM2:L"});
}

TEST_F(SerialChannelTest, FailedWriteIsReportedAndTheNextPressTriesAgain) {
    channel.OpenPort("COM3");
    ports.failWrites = true;
    channel.Press("a");
    ports.failWrites = false;
    channel.Press("b");
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Невозможно отправить COM3"});
    EXPECT_EQ(ports.written, std::vector<std::string>{"COM3:b"});
}

TEST_F(SerialChannelTest, FailuresWhileAMessageIsOpenShowNoFurtherBox) {
    int pressesInside = 0;
    messages.whileOpen = [&] {
        for (; pressesInside < 5; ++pressesInside) channel.Press("again");
    };
    channel.Press("first");
    EXPECT_EQ(pressesInside, 5);
    EXPECT_EQ(messages.shown.size(), 1u);
    channel.Press("after");  // once dismissed, the next failure is shown again
    EXPECT_EQ(messages.shown.size(), 2u);
}

}  // namespace
}  // namespace tastolink
