#include "phone/identification_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/fake_port.h"

namespace tastolink {
namespace {

// The commands go one at a time, each after its last is answered or given up; the answers are
// gathered with the lines before them. Without a port, or from a silent phone, nothing is.
TEST(IdentificationRun, AsksOneCommandAfterTheOtherAndGathersTheAnswers) {
    fake::Ports ports;
    std::uint64_t now = 0;
    PhoneConversation conversation(ports, nullptr, [&] { return now; });
    std::optional<std::pair<IdentificationAnswers, bool>> done;
    const auto run = [&] {
        done.reset();
        IdentificationRun identification(
            conversation,
            [&](const IdentificationAnswers& answers, bool answered) { done.emplace(answers, answered); });
        identification.Start();
        const auto said = [&](std::size_t lines) { return ports.written.size() >= lines; };
        const auto until = [&](const std::function<bool()>& condition) {
            for (int wait = 0; wait < 5000 && !condition(); ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                conversation.TakeNews();
            }
        };
        if (!conversation.IsOpen()) return;
        ports.Say("\r\nSony Ericsson\r\n\r\nOK\r\n");
        until([&] { return said(2); });
        ports.Say("\r\n+CGMM: \"K750\"\r\nOK\r\n");
        until([&] { return said(3); });
        now += 5000;  // the revision is given up
        conversation.CheckTime();
        ports.Say("\r\nERROR\r\n");  // the keypad's answer: no keypad control
        until([&] { return said(5); });
        ports.Say("\r\nOK\r\n");
        until([&] { return done.has_value(); });
    };

    struct : ConversationListener {
        void Heard(const ConversationEvent& event) override {
            refusals += std::holds_alternative<heard::NotWritten>(event);
        }
        int refusals = 0;
    } notSent;
    conversation.AddListener(notSent);
    run();
    conversation.RemoveListener(notSent);
    ASSERT_TRUE(done);
    EXPECT_FALSE(done->second);
    EXPECT_EQ(done->first[0].result, FinalResult::None);
    EXPECT_EQ(notSent.refusals, 1);  // the first command could not go: the others are not tried

    conversation.Open("COM3");
    IdentificationRun silent(conversation, [&](const IdentificationAnswers&, bool answered) {
        done.emplace(IdentificationAnswers{}, answered);
    });
    done.reset();
    silent.Start();
    now += 5000;
    conversation.CheckTime();
    ASSERT_TRUE(done);
    EXPECT_FALSE(done->second);
    EXPECT_EQ(ports.written, std::vector<std::string>{"COM3:AT+CGMI\r\n"});
    ports.written.clear();

    conversation.Open("COM4");
    run();
    ASSERT_TRUE(done);
    EXPECT_TRUE(done->second);
    EXPECT_EQ(ports.written,
              (std::vector<std::string>{"COM4:AT+CGMI\r\n", "COM4:AT+CGMM\r\n", "COM4:AT+CGMR\r\n",
                                        "COM4:AT+CKPD=?\r\n", "COM4:AT+CMEC=?\r\n"}));
    const auto& answers = done->first;
    EXPECT_EQ(answers[0].lines, std::vector<std::string>{"Sony Ericsson"});
    EXPECT_EQ(answers[1].lines, std::vector<std::string>{"+CGMM: \"K750\""});
    EXPECT_EQ(answers[2].result, FinalResult::None);
    EXPECT_EQ(answers[3].result, FinalResult::Error);
    EXPECT_EQ(answers[4].result, FinalResult::Ok);
    EXPECT_FALSE(conversation.Hears());
}

}  // namespace
}  // namespace tastolink
