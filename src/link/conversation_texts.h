#pragma once

#include <string>

#include "link/conversation_event.h"

namespace tastolink {

// The window's words for what the conversation tells: the boxes of a failed choice or send, why a
// port did not open, and the texts of the status line's segments of the port, the last key and
// the phone's answers. Everything here is UTF-8.

// "Невозможно выбрать COM7"
std::string CannotChooseText(const heard::NotOpened& event);
// "Невозможно отправить COM7"; empty for a key not sent while its port is waited for, which is
// counted in the status line instead of shown in a box.
std::string CannotSendText(const heard::NotWritten& event);
// "нет такого порта", "порт занят" ...
std::string PortFailureText(const PortFailure& failure);

// How many lines went out, and how the phone answered them.
struct AnswerTally {
    long sent = 0;
    long ok = 0;
    long notOk = 0;  // answered otherwise, or never
};

// The status line's texts, kept up to date from what the conversation tells.
class ConversationTexts : public ConversationListener {
public:
    void Heard(const ConversationEvent& event) override;

    // The port and what happened to it: "COM4 открыт", "COM7 не открыт: порт занят", "COM4 пропал".
    const std::string& Port() const { return port_; }
    // Only what the watch over the ports says of it: "COM7 пропал — жду; не отправлено: 2",
    // "COM7 снова на связи"; empty otherwise.
    const std::string& Watch() const { return watch_; }
    // The last key and its answer: "5 → …", "5 → OK", "5 → нет ответа", "5 → OK, через 1,5 с".
    const std::string& LastKey() const { return lastKey_; }
    // The last line the phone sent of its own.
    const std::string& PhoneSaid() const { return phoneSaid_; }
    // "Отправлено: 12, OK: 11"
    std::string Counts() const;
    AnswerTally Tally() const { return tally_; }

private:
    std::string port_ = "Порт не выбран";
    std::string watch_;
    std::string lastKey_;
    std::string phoneSaid_;
    AnswerTally tally_;
};

}  // namespace tastolink
