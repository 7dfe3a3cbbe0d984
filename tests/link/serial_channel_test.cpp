#include "link/serial_channel.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace tastolink {
namespace {

using Texts = std::vector<std::string>;

// Ports that record "<port>:<bytes>" and boxes that record their text. Like a real port opened
// without sharing, the one port that is open can't be opened again. The first box runs
// `whileShown` before it is dismissed.
struct Fakes : PortOpener {
    struct Port : OpenedPort {
        Port(Fakes& fakes, const std::string& name) : fakes(fakes), name(name) { fakes.open = name; }
        ~Port() override { fakes.open.clear(); }
        WriteOutcome Write(std::string_view bytes) override {
            if (fakes.lost) return WriteOutcome::Lost;
            if (fakes.failWrites) return WriteOutcome::Failed;
            fakes.written.push_back(name + ":" + std::string(bytes));
            return WriteOutcome::Written;
        }
        Fakes& fakes;
        std::string name;
    };
    std::unique_ptr<OpenedPort> Open(const std::string& name) override {
        return missing || name == open ? nullptr : std::make_unique<Port>(*this, name);
    }
    void ShowFailure(const std::string& text) {
        shown.push_back(text);
        if (whileShown) std::exchange(whileShown, nullptr)();
    }
    std::string open;
    Texts written, shown;
    bool missing = false, failWrites = false, lost = false;
    std::function<void()> whileShown;
};

TEST(SerialChannel, SendsToTheChosenPortAndFailuresNameItAsChosen) {
    Fakes fakes;
    SerialChannel channel{fakes, [&](const std::string& text) { fakes.ShowFailure(text); }};
    channel.Press("a");
    fakes.missing = true;
    channel.OpenPort("COM7");
    channel.Press("b");
    fakes.missing = false;
    channel.OpenPort("COM3");
    channel.OpenPort("COM3");  // busy unless the first handle was closed
    fakes.failWrites = true;
    channel.Press("c");
    fakes.failWrites = false;
    channel.Press("d");  // the next press tries again
    EXPECT_EQ(fakes.shown, (Texts{"Невозможно отправить ", "Невозможно выбрать COM7",
                                  "Невозможно отправить COM7", "Невозможно отправить COM3"}));
    EXPECT_EQ(fakes.written, Texts{"COM3:d"});

    // Ticks go on while a box is open; their failures must not stack boxes.
    fakes.failWrites = true;
    fakes.whileShown = [&] { channel.Press("again"); };
    channel.Press("first");
    channel.Press("after");
    EXPECT_EQ(fakes.shown.size(), 4u + 2u);
}

// Watched, a port that goes away is waited for without a box, the keys meanwhile counted and
// dropped, and the same name taken again once it opens; a new choice of port ends the waiting.
TEST(SerialChannel, AWatchedPortThatGoesAwayIsWaitedForAndTakenBackByName) {
    Fakes fakes;
    SerialChannel channel{fakes, [&](const std::string& text) { fakes.ShowFailure(text); }};
    channel.SetWatching(true);
    channel.OpenPort("COM7");
    fakes.lost = true;
    EXPECT_FALSE(channel.Press("a"));
    fakes.missing = true;
    fakes.lost = false;
    EXPECT_FALSE(channel.Press("b"));
    EXPECT_EQ(channel.WatchText(), "COM7 пропал — жду; не отправлено: 2");
    EXPECT_FALSE(channel.RetryWaiting());
    fakes.missing = false;
    EXPECT_TRUE(channel.RetryWaiting());
    EXPECT_EQ(channel.WatchText(), "COM7 снова на связи");
    EXPECT_TRUE(channel.Press("c"));
    channel.PortLost();  // its reader found it gone
    EXPECT_TRUE(channel.Waiting());
    channel.OpenPort("COM7");
    EXPECT_FALSE(channel.Waiting());
    EXPECT_EQ(fakes.written, Texts{"COM7:c"});
    EXPECT_EQ(fakes.shown, Texts{});

    // Not watched, a port that goes away fails as any other write does.
    channel.SetWatching(false);
    fakes.lost = true;
    channel.Press("d");
    channel.PortLost();
    EXPECT_EQ(fakes.shown, Texts{"Невозможно отправить COM7"});
}

}  // namespace
}  // namespace tastolink
