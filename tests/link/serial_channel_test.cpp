#include "link/serial_channel.h"

#include <gtest/gtest.h>

#include <functional>
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

// Records each box; the first box runs `whileShown` before it is dismissed.
struct FakeMessages : ChannelMessages {
    void ShowChannelFailure(const std::string& text) override {
        shown.push_back(text);
        if (whileShown) std::exchange(whileShown, nullptr)();
    }
    Texts shown;
    std::function<void()> whileShown;
};

TEST(SerialChannel, SendsToTheChosenPortAndFailuresNameItAsChosen) {
    FakePorts ports;
    FakeMessages messages;
    SerialChannel channel{ports, messages};
    channel.Press("a");
    ports.missing = true;
    channel.OpenPort("COM7");
    channel.Press("b");
    ports.missing = false;
    channel.OpenPort("COM3");
    channel.OpenPort("COM3");  // busy unless the first handle was closed
    ports.failWrites = true;
    channel.Press("c");
    ports.failWrites = false;
    channel.Press("d");  // the next press tries again
    channel.OpenPort("COM4");
    channel.Press("e");
    EXPECT_EQ(messages.shown, (Texts{"Невозможно отправить ", "Невозможно выбрать COM7",
                                     "Невозможно отправить COM7", "Невозможно отправить COM3"}));
    EXPECT_EQ(ports.written, (Texts{"COM3:d", "COM4:e"}));

    // Ticks go on while a box is open; their failures must not stack boxes.
    ports.failWrites = true;
    messages.whileShown = [&] { channel.Press("again"); };
    channel.Press("first");
    channel.Press("after");
    EXPECT_EQ(messages.shown.size(), 4u + 2u);
}

}  // namespace
}  // namespace tastolink
