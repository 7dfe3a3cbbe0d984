// The answering port against a virtual phone that vanishes halfway through its first answer, which
// tests/e2e/tests.cmake starts behind TASTOLINK_TEST_PORT. The port hearing the phone is seen through
// the program: tests/e2e/test_answers.py, test_hostile_phone.py and test_vanished_phone.py.

#include "link/answering_port_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace tastolink {

TEST(AnsweringPortWithPhone, PhoneThatVanishesMidAnswerEndsTheReader) {
    using enum PortEvent::Kind;
    const char* name = std::getenv("TASTOLINK_TEST_PORT");
    if (!name) GTEST_SKIP() << "no virtual phone: TASTOLINK_TEST_PORT is not set";
    auto inbox = std::make_shared<PortEventInbox>(nullptr);
    std::unique_ptr<OpenedPort> port = AnsweringPortOpener(inbox).Open(name);
    ASSERT_TRUE(port && port->Write("AT+CKPD=\"5\"\r\n") == WriteOutcome::Written);
    std::vector<PortEvent> events;
    auto lost = events.end();
    for (int wait = 0; wait < 500 && lost == events.end(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ranges::move(inbox->TakeAll(), std::back_inserter(events));
        lost = std::ranges::find(events, Lost, &PortEvent::kind);
    }
    ASSERT_NE(lost, events.end());
    EXPECT_EQ(*lost, (PortEvent{Lost, name}));
    // The reader's last word: nothing it read comes after it (the write's own event may).
    EXPECT_EQ(std::ranges::count(lost, events.end(), Received, &PortEvent::kind), 0);
    // A write to the phone gone fails as one to a device unplugged: the watched port waits for it.
    EXPECT_EQ(port->Write("AT+CKPD=\"5\"\r\n"), WriteOutcome::Lost);
}

}  // namespace tastolink
