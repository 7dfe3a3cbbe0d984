#include "link/port_inbox.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

using enum PortNews::Kind;

// A phone that sends faster than its bytes are taken: at most 64 KiB of them wait, what does not
// fit is dropped and marked where it was, and nothing else is lost. Pieces on either side of a
// drop stay apart; pieces read one after the other are one. The bound holds at its value.
TEST(PortInbox, HoldsABoundedPartOfAFloodAndMarksWhereTheRestWent) {
    int wakes = 0;
    PortInbox inbox([&] { ++wakes; });
    inbox.Push({Received, "\r\nO"});
    inbox.Push({Received, std::string(64 * 1024 - 3, 'x')});  // exactly full
    inbox.Push({Received, "y"});
    inbox.Push({Received, std::string(4096, 'z')});
    inbox.Push({Dropped});  // the driver's own loss, at the same place
    EXPECT_EQ(wakes, 1);
    const std::vector<PortNews> news = inbox.TakeAll();
    ASSERT_EQ(news.size(), 2u);
    EXPECT_EQ(news[0].bytes.size(), 64u * 1024);
    EXPECT_TRUE(news[0].bytes.starts_with("\r\nOxxx") && news[0].bytes.ends_with("x"));
    EXPECT_EQ(news[1], (PortNews{Dropped}));

    inbox.Push({Received, "K\r\n"});
    inbox.Push({Lost});
    EXPECT_EQ(wakes, 2);
    EXPECT_EQ(inbox.TakeAll(), (std::vector<PortNews>{{Received, "K\r\n"}, {Lost}}));
}

}  // namespace
}  // namespace tastolink
