// The answering port under Wine against the virtual phone in one of its modes: tests/e2e/tests.cmake
// starts one phone per mode behind TASTOLINK_TEST_PORT and gives in TASTOLINK_TEST_HEARD the
// line that mode must make the port hear.

#include "link/answering_port_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

namespace tastolink {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class AnsweringPortWithPhone : public testing::Test {
protected:
    void SetUp() override {
        if (port_.empty()) GTEST_SKIP() << "no virtual phone: TASTOLINK_TEST_PORT is not set";
    }

    // Takes events from the inbox until `done` holds or `seconds` pass; true if it held.
    bool CollectUntil(const std::function<bool()>& done, int seconds) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            for (PortEvent& event : inbox_->TakeAll()) {
                if (event.kind == PortEvent::Kind::Received) received_ += event.text;
                if (event.kind == PortEvent::Kind::Lost) lost_ = true;
                events_.push_back(std::move(event));
            }
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    const std::string port_ = Environment("TASTOLINK_TEST_PORT");
    std::shared_ptr<PortEventInbox> inbox_ = std::make_shared<PortEventInbox>(nullptr);
    AnsweringPortOpener opener_{inbox_};
    std::vector<PortEvent> events_;
    std::string received_;
    bool lost_ = false;
};

TEST_F(AnsweringPortWithPhone, HearsTheModesLineAfterEveryChoiceOfThePort) {
    const std::string heard = "\r\n" + Environment("TASTOLINK_TEST_HEARD") + "\r\n";
    for (int choice = 1; choice <= 2; ++choice) {
        received_.clear();
        std::unique_ptr<OpenedPort> port = opener_.Open(port_);
        ASSERT_TRUE(port) << "choice " << choice;
        ASSERT_TRUE(port->Write("AT+CKPD=\"5\"\r\n"));
        EXPECT_TRUE(CollectUntil([&] { return received_.find(heard) != std::string::npos; }, 10))
            << "choice " << choice << " heard only: " << testing::PrintToString(received_);
        // Letting the port go ends its reader, which may be waiting in a read, and closes it.
    }
    EXPECT_EQ(events_.front(), (PortEvent{PortEvent::Kind::Opened, port_}));
    EXPECT_TRUE(std::find(events_.begin(), events_.end(),
                          PortEvent{PortEvent::Kind::Written, "AT+CKPD=\"5\"\r\n"}) != events_.end());
    // A phone that never answers a key gives no final answer at all.
    if (heard == "\r\nRING\r\n") {
        CollectUntil([] { return false; }, 1);
        EXPECT_EQ(received_.find("OK"), std::string::npos);
        EXPECT_EQ(received_.find("ERROR"), std::string::npos);
    }
    EXPECT_FALSE(lost_);
}

TEST_F(AnsweringPortWithPhone, PhoneThatVanishesMidAnswerEndsTheReader) {
    std::unique_ptr<OpenedPort> port = opener_.Open(port_);
    ASSERT_TRUE(port);
    ASSERT_TRUE(port->Write("AT+CKPD=\"5\"\r\n"));
    EXPECT_TRUE(CollectUntil([&] { return lost_; }, 10)) << "heard: " << testing::PrintToString(received_);
    EXPECT_EQ(events_.back(), (PortEvent{PortEvent::Kind::Lost, port_}));
    EXPECT_FALSE(port->Write("AT+CKPD=\"5\"\r\n"));
    port.reset();  // the reader has ended already: this only closes the port
}

TEST_F(AnsweringPortWithPhone, PortThatDoesNotExistIsReported) {
    EXPECT_FALSE(opener_.Open("COM99"));
    CollectUntil([&] { return !events_.empty(); }, 2);
    EXPECT_EQ(events_, (std::vector<PortEvent>{{PortEvent::Kind::FailedOpen, "COM99"}}));
}

}  // namespace
}  // namespace tastolink
