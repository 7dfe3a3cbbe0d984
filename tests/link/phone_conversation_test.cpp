#include "link/phone_conversation.h"

#include <gtest/gtest.h>

#include <chrono>

#include "link/conversation_texts.h"
#include "link/fake_port.h"

namespace tastolink {
namespace {

using Texts = std::vector<std::string>;

// The conversation over fake ports, with a clock of the test's own, and what a window would make
// of what it tells: the boxes, and the status line's texts.
class Conversation : public ::testing::Test, public ConversationListener {
protected:
    Conversation() {
        conversation.AddListener(texts);
        conversation.AddListener(*this);
    }

    void Heard(const ConversationEvent& event) override {
        std::string box;
        if (const auto* notOpened = std::get_if<heard::NotOpened>(&event)) box = CannotChooseText(*notOpened);
        if (const auto* notWritten = std::get_if<heard::NotWritten>(&event))
            box = CannotSendText(*notWritten);
        if (!box.empty()) boxes.push_back(box);
    }

    static PhoneCommand Key(const std::string& code) { return {"AT+CKPD=\"" + code + "\"\r\n", code}; }

    // Until the reader has heard what the phone said and the conversation has told it.
    void TakeNewsUntil(const std::function<bool()>& done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            conversation.TakeNews();
        }
        ASSERT_TRUE(done());
    }

    fake::Ports ports;
    std::uint64_t now = 0;
    PhoneConversation conversation{ports, nullptr, [this] { return now; }};
    ConversationTexts texts;
    Texts boxes;
};

TEST_F(Conversation, SendsToThePortChosenAndFailuresNameItAsChosen) {
    conversation.Send(Key("1"));
    ports.missing = true;
    conversation.Open("COM7");
    EXPECT_EQ(texts.Port(), "COM7 не открыт: нет такого порта");
    conversation.Send(Key("2"));
    ports.missing = false;
    conversation.Open("COM3");
    EXPECT_TRUE(conversation.Open("COM3"));  // busy unless the port chosen before was let go
    ports.writes = WriteOutcome::Failed;
    conversation.Send(Key("3"));
    ports.writes = WriteOutcome::Written;
    conversation.Send(Key("4"));  // the next press tries again
    EXPECT_EQ(boxes, (Texts{"Невозможно отправить ", "Невозможно выбрать COM7", "Невозможно отправить COM7",
                            "Невозможно отправить COM3"}));
    EXPECT_EQ(ports.written, Texts{"COM3:AT+CKPD=\"4\"\r\n"});
    EXPECT_EQ(texts.Port() + " | " + texts.LastKey() + " | " + texts.Counts(),
              "COM3 открыт | 4 → … | Отправлено: 1, OK: 0");
}

// Watched, a port that goes away is waited for without a box, the keys meanwhile counted and
// not sent, and the same name taken again once it opens, its preparation sent first again. A
// write that fails otherwise still gives its box. Not watched, a port gone fails as any write.
TEST_F(Conversation, AWatchedPortThatGoesAwayIsWaitedForAndTakenBackByName) {
    conversation.SetWatching(true);
    conversation.Open("COM7", {{"AT+CMEC=2\r\n", "AT+CMEC=2"}});
    ports.writes = WriteOutcome::Failed;
    conversation.Send(Key("1"));
    EXPECT_EQ(boxes, Texts{"Невозможно отправить COM7"});
    ports.writes = WriteOutcome::Lost;
    conversation.Send(Key("2"));
    ports.missing = true;
    conversation.Send(Key("3"));
    EXPECT_EQ(texts.Watch(), "COM7 пропал — жду; не отправлено: 2");
    EXPECT_FALSE(conversation.RetryWaiting());
    ports.missing = false;
    ports.writes = WriteOutcome::Written;
    EXPECT_TRUE(conversation.RetryWaiting());
    EXPECT_EQ(texts.Watch(), "COM7 снова на связи");
    conversation.Send(Key("4"));
    conversation.DeviceLeft("com7");  // the system's word, in its own case
    EXPECT_TRUE(conversation.Waiting());
    conversation.Open("COM7");
    EXPECT_FALSE(conversation.Waiting());
    EXPECT_EQ(ports.written, (Texts{"COM7:AT+CMEC=2\r\n", "COM7:AT+CMEC=2\r\n", "COM7:AT+CKPD=\"4\"\r\n"}));
    EXPECT_EQ(boxes, Texts{"Невозможно отправить COM7"});

    conversation.DeviceLeft("COM7");
    conversation.SetWatching(false);  // the waiting ends; the port is gone
    EXPECT_EQ(texts.Watch(), "");
    conversation.Send(Key("5"));
    conversation.Open("COM7");
    ports.writes = WriteOutcome::Lost;
    conversation.Send(Key("6"));
    EXPECT_EQ(boxes,
              (Texts{"Невозможно отправить COM7", "Невозможно отправить COM7", "Невозможно отправить COM7"}));
}

// The reader runs only while someone hears the phone. Its words reach the status line through the
// conversation; an answer that comes late shows on its own key and counts.
TEST_F(Conversation, HearsThePhoneOnlyWhileAskedAndCreditsItsAnswers) {
    conversation.Open("COM1");
    conversation.Send(Key("5"));
    EXPECT_EQ(ports.reads, 0);
    {
        PhoneConversation::Hearing hearing(conversation);
        conversation.Send(Key("6"));
        conversation.Send(Key(":L"));
        ports.Say("\r\nOK\r\nRING\r\n");
        TakeNewsUntil([&] { return texts.LastKey() == "6 → OK"; });
        EXPECT_EQ(texts.PhoneSaid(), "RING");
        now = 1000;
        EXPECT_EQ(conversation.TimeToCheck(), 0u);
        conversation.CheckTime();
        EXPECT_EQ(texts.LastKey(), ":L → нет ответа");
        now = 1500;
        ports.Say("\r\n+CME ERROR: 3\r\n");
        TakeNewsUntil([&] { return texts.LastKey() == ":L → +CME ERROR: 3, через 1,5 с"; });
        EXPECT_EQ(texts.Counts(), "Отправлено: 3, OK: 1");
        EXPECT_EQ(texts.Tally().notOk, 1);
    }
    const int reads = ports.reads;
    ports.Say("\r\nOK\r\n");
    conversation.Send(Key("7"));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    conversation.TakeNews();
    EXPECT_EQ(ports.reads, reads);  // nobody reads
    EXPECT_EQ(texts.LastKey(), "7 → …");
    // The OK said meanwhile answered a line sent before: heard again, the phone's next answer is 8's.
    PhoneConversation::Hearing again(conversation);
    conversation.Send(Key("8"));
    ports.Say("\r\nERROR\r\n");
    TakeNewsUntil([&] { return texts.LastKey() == "8 → ERROR"; });
}

// What the last port's reader heard and nobody took answers nothing sent to the next one.
TEST_F(Conversation, ANewPortIsNotAnsweredByWhatTheLastOneSaid) {
    PhoneConversation::Hearing hearing(conversation);
    conversation.Open("COM1");
    ports.Say("\r\nERROR\r\n");
    // The reader comes back for more only once it has left that in the inbox.
    const auto readAgain = [&] {
        std::lock_guard lock(ports.mutex);
        return ports.reads >= 2;
    };
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!readAgain() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_TRUE(readAgain());
    conversation.Open("COM2");
    conversation.Send(Key("5"));
    ports.Say("\r\nOK\r\n");
    TakeNewsUntil([&] { return texts.LastKey() != "5 → …"; });
    EXPECT_EQ(texts.LastKey(), "5 → OK");
}

// A port that fails under its reader is lost: waited for while watched, otherwise it stays
// chosen and the next key says that it can't be sent.
TEST_F(Conversation, APortLostUnderItsReaderIsWaitedForOnlyWhileWatched) {
    PhoneConversation::Hearing hearing(conversation);
    for (bool watching : {false, true}) {
        conversation.SetWatching(watching);
        conversation.Open("COM2");
        ports.Vanish();
        TakeNewsUntil([&] { return texts.Port() == "COM2 пропал"; });
        EXPECT_EQ(conversation.Waiting(), watching);
        EXPECT_EQ(texts.Watch(), watching ? "COM2 пропал — жду" : "");
        ports.lost = false;
    }
    EXPECT_EQ(boxes, Texts{});
}

}  // namespace
}  // namespace tastolink
