#include "link/serial_channel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace tastolink {
namespace {

using Texts = std::vector<std::string>;

// Ports that record "<port>:<bytes>" for each write; like a real port opened without
// sharing, a port is busy while a handle to it is open.
class FakePorts : public PortOpener {
public:
    struct Port : OpenedPort {
        Port(FakePorts& owner, std::string name) : owner(owner), name(std::move(name)) {
            owner.open.push_back(this->name);
        }
        ~Port() override { std::erase(owner.open, name); }
        bool Write(std::string_view bytes) override {
            if (owner.failWrites) return false;
            owner.written.push_back(name + ":" + std::string(bytes));
            return true;
        }
        FakePorts& owner;
        std::string name;
    };

    std::unique_ptr<OpenedPort> Open(const std::string& portName) override {
        if (missing || std::find(open.begin(), open.end(), portName) != open.end()) return nullptr;
        return std::make_unique<Port>(*this, portName);
    }

    Texts open, written;
    bool missing = false, failWrites = false;
};

struct FakeMessages : ChannelMessages {
    void ShowChannelFailure(const std::string& text) override {
        shown.push_back(text);
        if (whileOpen) whileOpen();
    }
    Texts shown;
    std::function<void()> whileOpen;
};

class SerialChannelTest : public ::testing::Test {
protected:
    FakePorts ports;
    FakeMessages messages;
    SerialChannel channel{ports, messages};
};

TEST_F(SerialChannelTest, FailuresNameThePortAsChosen) {
    channel.Press("a");
    ports.missing = true;
    channel.OpenPort("COM7");
    channel.Press("b");
    channel.OpenPort("");
    EXPECT_EQ(messages.shown, (Texts{"Невозможно отправить ", "Невозможно выбрать COM7",
                                     "Невозможно отправить COM7", "Невозможно выбрать "}));
    EXPECT_EQ(channel.PendingCommand(), "b");
}

TEST_F(SerialChannelTest, ChoosingAPortClosesTheCurrentOneFirst) {
    channel.OpenPort("COM1");
    channel.OpenPort("COM1");  // busy unless the first handle was closed
    channel.Press("AT+CKPD=\":L\"\r\n");
    channel.OpenPort("COM2");
    channel.Press("L");
    EXPECT_EQ(ports.written, (Texts{"COM1:AT+CKPD=\":L\"\r\n", "COM2:L"}));
    EXPECT_EQ(ports.open, Texts{"COM2"});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SerialChannelTest, FailedWriteIsReportedAndTheNextPressTriesAgain) {
    channel.OpenPort("COM3");
    ports.failWrites = true;
    channel.Press("a");
    ports.failWrites = false;
    channel.Press("b");
    EXPECT_EQ(messages.shown, Texts{"Невозможно отправить COM3"});
    EXPECT_EQ(ports.written, Texts{"COM3:b"});
}

// Ticks go on while the box is open; their failures must not stack boxes.
TEST_F(SerialChannelTest, FailuresWhileABoxIsOpenShowNoFurtherBox) {
    int pressesInside = 0;
    messages.whileOpen = [&] {
        for (; pressesInside < 5; ++pressesInside) channel.Press("again");
    };
    channel.Press("first");
    EXPECT_EQ(pressesInside, 5);
    EXPECT_EQ(messages.shown.size(), 1u);
    channel.Press("after");
    EXPECT_EQ(messages.shown.size(), 2u);
}

}  // namespace
}  // namespace tastolink
