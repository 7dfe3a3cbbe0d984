#include "link/port_events.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

using enum PortEvent::Kind;

// A phone that sends faster than the window takes its bytes: at most 64 KiB of them wait, what
// does not fit is dropped and marked where it was, and nothing else is lost. Pieces on either side
// of a drop stay apart; pieces read one after the other are one.
TEST(PortEventInbox, HoldsABoundedPartOfAFloodAndMarksWhereTheRestWent) {
    int wakes = 0;
    PortEventInbox inbox([&] { ++wakes; });
    inbox.Push({Opened, "COM1"});
    inbox.Push({Received, "\r\nO"});
    for (int read = 0; read < 1000; ++read) inbox.Push({Received, std::string(4096, 'x')});
    inbox.Push({Written, "AT+CKPD=\"5\"\r\n"});
    inbox.Push({Received, "K\r\n"});
    inbox.Push({Received, "RING\r\n"});
    const std::vector<PortEvent> events = inbox.TakeAll();
    EXPECT_EQ(wakes, 1);

    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0], (PortEvent{Opened, "COM1"}));
    EXPECT_EQ(events[1].kind, Received);
    EXPECT_TRUE(events[1].text.starts_with("\r\nOxxx"));
    EXPECT_LE(events[1].text.size(), 64u * 1024);
    EXPECT_EQ(events[2], (PortEvent{Dropped, ""}));
    EXPECT_EQ(events[3], (PortEvent{Written, "AT+CKPD=\"5\"\r\n"}));
    EXPECT_EQ(events[4], (PortEvent{Received, "K\r\nRING\r\n"}));

    inbox.Push({Lost, "COM1"});
    EXPECT_EQ(wakes, 2);
}

}  // namespace
}  // namespace tastolink
