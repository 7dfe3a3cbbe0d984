#include "link/answer_crediting.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

using Said = std::vector<std::string>;

// Each event as "<kind> <name> <answer>" for comparison.
struct Crediting {
    AnswerCrediting crediting;
    std::vector<ConversationEvent> events;

    void Send(const std::string& name, std::uint64_t ms) {
        crediting.Sent({name + "\r\n", name}, ms, events);
    }
    void Answer(AnswerKind kind, const std::string& line, std::uint64_t ms) {
        crediting.Line({kind, line}, ms, events);
    }
    Said Take() {
        Said said;
        for (const ConversationEvent& event : std::exchange(events, {})) {
            if (const auto* a = std::get_if<heard::Answered>(&event))
                said.push_back(a->command.name + " " + a->answer + " " + std::to_string(a->afterMs) +
                               (a->late ? " late" : "") +
                               (a->information.empty() ? "" : " [" + a->information.front() + "]"));
            else if (const auto* u = std::get_if<heard::Unanswered>(&event))
                said.push_back(u->command.name + (u->bytesLost ? " lost" : " unanswered"));
            else if (const auto* g = std::get_if<heard::AnswerGone>(&event))
                said.push_back(g->command.name + " gone");
            else if (const auto* p = std::get_if<heard::PhoneSaid>(&event))
                said.push_back("phone " + p->line);
        }
        return said;
    }
};

// A phone answers in the order of the lines: each final answer goes to the oldest line waiting,
// with the lines the phone said before it; an answer with nothing waiting goes to none.
TEST(AnswerCrediting, GivesEachAnswerToTheOldestLineWaiting) {
    Crediting c;
    c.Answer(AnswerKind::Ok, "OK", 0);
    c.Send("AT+CGMI", 10);
    c.Send("5", 20);
    c.Answer(AnswerKind::Echo, "AT+CGMI", 30);
    c.Answer(AnswerKind::Unsolicited, "Sony Ericsson", 40);
    c.Answer(AnswerKind::Ok, "OK", 50);
    c.Answer(AnswerKind::CmeError, "+CME ERROR: 3", 60);
    EXPECT_EQ(c.Take(), (Said{"phone Sony Ericsson", "AT+CGMI OK 40 [Sony Ericsson]", "5 +CME ERROR: 3 40"}));
    EXPECT_FALSE(c.crediting.Expecting());
}

// A line is unanswered once it has waited a second, yet a late answer is still its own and says
// so; at five seconds it is given up for good, and so is the oldest of more than 128 waiting.
TEST(AnswerCrediting, ReportsALateAnswerOnItsOwnLineUntilItIsGivenUpAtItsBounds) {
    Crediting c;
    c.Send("5", 1000);
    c.Send("6", 1100);
    EXPECT_EQ(c.crediting.NextCheckAt(), 2000u);
    c.crediting.Check(1999, c.events);
    EXPECT_EQ(c.Take(), Said{});
    c.crediting.Check(2000, c.events);
    EXPECT_EQ(c.Take(), Said{"5 unanswered"});
    EXPECT_EQ(c.crediting.NextCheckAt(), 2100u);
    c.Answer(AnswerKind::Ok, "OK", 2500);
    EXPECT_EQ(c.Take(), Said{"5 OK 1500 late"});

    c.crediting.Check(2100, c.events);
    c.crediting.Check(6099, c.events);
    EXPECT_EQ(c.Take(), Said{"6 unanswered"});
    c.crediting.Check(6100, c.events);
    c.Answer(AnswerKind::Ok, "OK", 6200);  // to nothing: 6 is gone
    EXPECT_EQ(c.Take(), Said{"6 gone"});

    for (int key = 1; key <= 128; ++key) c.Send(std::to_string(key), 7000);
    EXPECT_EQ(c.Take(), Said{});
    c.Send("129", 7000);
    EXPECT_EQ(c.Take(), Said{"1 gone"});
    c.Answer(AnswerKind::Error, "ERROR", 7000);
    EXPECT_EQ(c.Take(), Said{"2 ERROR 0"});
}

// Bytes lost may have held the answers of every line waiting: each is reported once, and an
// answer that comes all the same is still taken for its line.
TEST(AnswerCrediting, LostBytesReportTheLinesWaitingOnce) {
    Crediting c;
    c.Send("7", 0);
    c.Send("8", 0);
    c.crediting.BytesLost(c.events);
    c.crediting.Check(1500, c.events);
    EXPECT_EQ(c.Take(), (Said{"7 lost", "8 lost"}));
    c.Answer(AnswerKind::Ok, "OK", 1600);
    EXPECT_EQ(c.Take(), Said{"7 OK 1600 late"});
}

}  // namespace
}  // namespace tastolink
