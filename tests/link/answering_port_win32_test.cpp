// The answering port against the virtual phone: tests/e2e/tests.cmake starts one phone per mode
// behind TASTOLINK_TEST_PORT and gives in TASTOLINK_TEST_HEARD the line the port must hear.

#include "link/answering_port_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

using namespace tastolink;
using enum PortEvent::Kind;

class AnsweringPortWithPhone : public testing::Test {
protected:
    void SetUp() override {
        if (port_.empty()) GTEST_SKIP() << "no virtual phone: TASTOLINK_TEST_PORT is not set";
    }

    // Takes the inbox's events for up to `seconds`, until the texts of those of `kind`, joined, hold `text`.
    bool Await(PortEvent::Kind kind, const std::string& text, int seconds = 10) {
        for (int wait = 0;; ++wait) {
            for (PortEvent& event : inbox_->TakeAll()) events_.push_back(std::move(event));
            std::string joined;
            for (const PortEvent& event : events_) joined += event.kind == kind ? event.text : "";
            if (!joined.empty() && joined.find(text) != std::string::npos) return true;
            if (wait >= seconds * 50) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    static std::string Environment(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }
    const std::string port_ = Environment("TASTOLINK_TEST_PORT");
    std::shared_ptr<PortEventInbox> inbox_ = std::make_shared<PortEventInbox>(nullptr);
    AnsweringPortOpener opener_{inbox_};
    std::vector<PortEvent> events_;
};

// Letting a port go ends its reader, which may be waiting in a read; the next choice reads anew.
TEST_F(AnsweringPortWithPhone, HearsTheModesLineAfterEveryChoiceOfThePort) {
    const std::string heard = "\r\n" + Environment("TASTOLINK_TEST_HEARD") + "\r\n";
    for (int choice = 1; choice <= 2; ++choice, events_.clear()) {
        std::unique_ptr<OpenedPort> port = opener_.Open(port_);
        ASSERT_TRUE(port && port->Write("AT+CKPD=\"5\"\r\n")) << "choice " << choice;
        EXPECT_TRUE(Await(Received, heard)) << "choice " << choice;
        EXPECT_TRUE(Await(Opened, port_, 0) && Await(Written, "AT+CKPD=\"5\"\r\n", 0));
        // A phone that never answers a key gives no final answer at all; no port is lost.
        if (heard == "\r\nRING\r\n") EXPECT_FALSE(Await(Received, "OK", 1) || Await(Received, "ERROR", 0));
        EXPECT_FALSE(Await(Lost, "", 0));
    }
}

TEST_F(AnsweringPortWithPhone, PhoneThatVanishesMidAnswerEndsTheReader) {
    std::unique_ptr<OpenedPort> port = opener_.Open(port_);
    ASSERT_TRUE(port && port->Write("AT+CKPD=\"5\"\r\n"));
    EXPECT_TRUE(Await(Lost, port_));
    // The reader's last word (the write's own event may come after it).
    const auto lost = std::ranges::find(events_, Lost, &PortEvent::kind);
    EXPECT_EQ(std::ranges::count(lost, events_.end(), Received, &PortEvent::kind), 0);
    EXPECT_FALSE(port->Write("AT+CKPD=\"5\"\r\n"));
}

}  // namespace
