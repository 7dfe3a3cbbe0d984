#include "phone/event_reporting.h"

#include <gtest/gtest.h>

#include <sstream>

#include "link/fake_port.h"

namespace tastolink {
namespace {

// The phone answers each AT+CMER line in turn ("gone": never; "-": the line can't be written):
// the lines written, what the status line says, and whether the program's own keys come back.
TEST(EventReporting, TriesTheNarrowerFormsUntilThePhoneTakesOneThenAsksTheIndicators) {
    // clang-format off
    const std::tuple<std::string, std::vector<std::string>, std::string, std::string, bool> cases[] = {
        {"AT+CMER=3,1,1,1", {"OK"}, "AT+CMER=3,1,1,1|AT+CIND=?|AT+CIND?", "клавиши, экран и индикаторы", false},
        {"AT+CMER=3,1,1,1", {"ERROR", "+CME ERROR: 3", "OK"}, "AT+CMER=3,1,1,1|AT+CMER=3,1,0,1|AT+CMER=3,1,0,0",
         "клавиши", false},
        {"at+cmer=3, 2,0,0", {"ERROR", "OK"}, "at+cmer=3, 2,0,0|AT+CMER=3,0,0,1|AT+CIND=?|AT+CIND?", "индикаторы",
         false},
        // A profile's own lines, then every listed form.
        {"AT+CMER=1,2,0,2", {"OK"}, "AT+CMER=1,2,0,2|AT+CIND=?|AT+CIND?", "клавиши и индикаторы", true},
        {"AT+CMER=0,0,0,0", {"OK"}, "AT+CMER=0,0,0,0", "выключены", false},
        {"AT+CMER=1,1,0,0", std::vector<std::string>(7, "ERROR"), "AT+CMER=1,1,0,0|AT+CMER=3,1,1,1|AT+CMER=3,1,0,1|"
         "AT+CMER=3,1,0,0|AT+CMER=2,1,0,0|AT+CMER=3,2,0,0|AT+CMER=3,0,0,1", "не поддерживаются", false},
        {"AT+CMER=3,1,1,1", {"gone"}, "AT+CMER=3,1,1,1", "телефон не ответил", false},
        {"AT+CMER=3,1,1,1", {"-"}, "", "телефон не ответил", false},
    };
    // clang-format on
    for (const auto& [profileLine, answers, written, text, programKeys] : cases) {
        fake::Ports ports;
        PhoneConversation conversation(ports, nullptr);
        conversation.Open("COM1");
        if (answers.front() == "-") ports.writes = WriteOutcome::Failed;
        int changes = 0;
        EventReporting reporting(conversation, profileLine, [&] { ++changes; });
        reporting.Start();
        for (const std::string& answer : answers) {
            if (answer == "-") break;
            EXPECT_EQ(reporting.Text(), "События: включаю…");
            const std::string line = ports.written.back().substr(5, ports.written.back().size() - 7);
            const PhoneCommand command{line + "\r\n", line};
            reporting.Heard(heard::Answered{{"AT+CKPD=\"5\"\r\n", "5"}, "ERROR", {}});  // not this line's
            if (answer == "gone") reporting.Heard(heard::AnswerGone{command});
            if (answer != "gone") reporting.Heard(heard::Answered{command, answer, {}});
        }
        std::ostringstream lines;
        for (const std::string& line : ports.written)
            lines << (lines.tellp() ? "|" : "") << line.substr(5, line.size() - 7);
        EXPECT_EQ(lines.str(), written) << profileLine;
        EXPECT_EQ(reporting.Text(), "События: " + text) << profileLine;
        EXPECT_EQ(reporting.Taken() && reporting.Taken()->programKeys, programKeys) << profileLine;
        EXPECT_EQ(changes, 1) << profileLine;
    }
}

}  // namespace
}  // namespace tastolink
