#include "link/serial_channel.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace tastolink {
namespace {

using Texts = std::vector<std::string>;

// Ports that record "<port>:<bytes>"; like a real port opened without sharing, the one port
// that is open can't be opened again.
struct FakePorts : PortOpener {
    struct Port : OpenedPort {
        Port(FakePorts& ports, const std::string& name) : ports(ports), name(name) { ports.open = name; }
        ~Port() override { ports.open.clear(); }
        bool Write(std::string_view bytes) override {
            if (!ports.failWrites) ports.written.push_back(name + ":" + std::string(bytes));
            return !ports.failWrites;
        }
        FakePorts& ports;
        std::string name;
    };
    std::unique_ptr<OpenedPort> Open(const std::string& name) override {
        return missing || name == open ? nullptr : std::make_unique<Port>(*this, name);
    }
    std::string open;
    Texts written;
    bool missing = false, failWrites = false;
};

struct FakeMessages : ChannelMessages {
    void ShowChannelFailure(const std::string& text) override {
        shown.push_back(text);
        if (whileShown) whileShown();
    }
    Texts shown;
    std::function<void()> whileShown;
};

class SerialChannelTest : public ::testing::Test {
protected:
    FakePorts ports;
    FakeMessages messages;
    SerialChannel channel{ports, messages};
};

TEST_F(SerialChannelTest, FailuresNameThePortAsChosenAndTheNextPressTriesAgain) {
    channel.Press("a");
    ports.missing = true;
    channel.OpenPort("COM7");
    channel.Press("b");
    channel.OpenPort("");
    ports.missing = false;
    channel.OpenPort("COM3");
    ports.failWrites = true;
    channel.Press("c");
    ports.failWrites = false;
    channel.Press("d");
    EXPECT_EQ(messages.shown,
              (Texts{"Невозможно отправить ", "Невозможно выбрать COM7", "Невозможно отправить COM7",
                     "Невозможно выбрать ", "Невозможно отправить COM3"}));
    EXPECT_EQ(ports.written, Texts{"COM3:d"});
}

TEST_F(SerialChannelTest, ChoosingAPortClosesTheCurrentOneFirst) {
    channel.OpenPort("COM1");
    channel.OpenPort("COM1");  // busy unless the first handle was closed
    channel.Press("AT+CKPD=\":L\"\r\n");
    channel.OpenPort("COM2");
    channel.Press("L");
    EXPECT_EQ(ports.written, (Texts{"COM1:AT+CKPD=\":L\"\r\n", "COM2:L"}));
    EXPECT_TRUE(messages.shown.empty());
}

// Ticks go on while the box is open; their failures must not stack boxes.
TEST_F(SerialChannelTest, FailuresWhileABoxIsOpenShowNoFurtherBox) {
    bool first = true;
    messages.whileShown = [&] {
        if (!std::exchange(first, false)) return;
        for (int press = 0; press < 5; ++press) channel.Press("again");
    };
    channel.Press("first");
    EXPECT_EQ(messages.shown.size(), 1u);
    channel.Press("after");
    EXPECT_EQ(messages.shown.size(), 2u);
}

}  // namespace
}  // namespace tastolink
