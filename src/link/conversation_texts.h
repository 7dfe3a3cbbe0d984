#pragma once

#include <string>

#include "link/conversation_event.h"
#include "shared/wording.h"

namespace tastolink {

// The front ends' words for what the conversation tells: the window's boxes and status line in
// Russian, the command line's messages and answers in English. Everything here is UTF-8.

// "Невозможно выбрать COM7", "Cannot open /dev/ttyACM0"
std::string CannotChooseText(const heard::NotOpened& event, Language language = Language::Russian);
// "Невозможно отправить COM7"; empty for a key not sent while its port is waited for, which is
// counted in the status line instead of shown in a box.
std::string CannotSendText(const heard::NotWritten& event, Language language = Language::Russian);
// Why a line was not written: "the write failed or timed out", "the port is gone".
std::string NotWrittenReasonText(heard::NotWritten::Why why, Language language);
// "нет такого порта", "порт занят: process 1234 (tastolink)" ...
std::string PortFailureText(const PortFailure& failure, Language language = Language::Russian);
// "COM4 пропал", "/dev/ttyACM0 is gone"
std::string PortLostText(const std::string& port, Language language);

// How many lines went out, and how the phone answered them.
struct AnswerTally {
    long sent = 0;
    long ok = 0;
    long notOk = 0;  // answered otherwise, or never
};

// The status line's texts, kept up to date from what the conversation tells.
class ConversationTexts : public ConversationListener {
public:
    explicit ConversationTexts(Language language = Language::Russian);
    void Heard(const ConversationEvent& event) override;

    // The port and what happened to it: "COM4 открыт", "COM7 не открыт: порт занят", "COM4 пропал".
    const std::string& Port() const { return port_; }
    // Only what the watch over the ports says of it: "COM7 пропал — жду; не отправлено: 2",
    // "COM7 снова на связи"; empty otherwise.
    const std::string& Watch() const { return watch_; }
    // The last key and its answer: "5 → …", "5 → OK", "5 → нет ответа", "5 → OK, через 1,5 с";
    // in English "5 -> OK, after 1.5 s".
    const std::string& LastKey() const { return lastKey_; }
    // The last line the phone sent of its own.
    const std::string& PhoneSaid() const { return phoneSaid_; }
    // "Отправлено: 12, OK: 11"
    std::string Counts() const;
    AnswerTally Tally() const { return tally_; }

private:
    Language language_;
    std::string port_;
    std::string watch_;
    std::string lastKey_;
    std::string phoneSaid_;
    AnswerTally tally_;
};

}  // namespace tastolink
