#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "link/answer_crediting.h"
#include "link/answer_parser.h"
#include "link/conversation_event.h"
#include "link/port_inbox.h"
#include "link/serial_port.h"

namespace tastolink {

// The one owner of everything between "press this key" and "this is what happened": the port
// chosen, the writes (bounded in time by the port), the watch over a port that goes away and the
// retry of its name, the reader of the phone's words with its bounded inbox, and which line each
// answer belongs to. It tells its listeners what happened and never shows anything itself.
//
// Everything but the reader runs on the caller's one thread (the window's, or the command line's).
// The reader runs on a thread of its own, only while someone hears the phone; when it has news it
// calls `wake`, and the caller's thread then calls TakeNews.
class PhoneConversation {
public:
    using Clock = std::function<std::uint64_t()>;  // milliseconds of a steady clock

    PhoneConversation(SerialPortOpener& opener, std::function<void()> wake, Clock clock = SteadyMs);
    ~PhoneConversation();
    PhoneConversation(const PhoneConversation&) = delete;
    PhoneConversation& operator=(const PhoneConversation&) = delete;

    void AddListener(ConversationListener& listener);
    void RemoveListener(ConversationListener& listener);

    // Lets go of the port chosen before, opens `portName` and sends `preparation` once, before any
    // key; again each time a port waited for comes back. Whether it opened.
    bool Open(const std::string& portName, std::vector<PhoneCommand> preparation = {});
    // Whether the line was written whole.
    bool Send(const PhoneCommand& command);
    // The name chosen last, as chosen ("" before any choice).
    const std::string& PortName() const { return portName_; }
    bool IsOpen() const { return port_ != nullptr; }

    // The phone's words are read while at least one Hearing lives: the answers in the status bar,
    // an identification, the phone's own events. Without one no thread reads the port.
    class Hearing {
    public:
        Hearing() = default;
        explicit Hearing(PhoneConversation& conversation);
        ~Hearing();
        Hearing(Hearing&& other) noexcept;
        Hearing& operator=(Hearing&& other) noexcept;

    private:
        PhoneConversation* conversation_ = nullptr;
    };
    bool Hears() const { return hearers_ > 0; }

    // While the ports are watched, a port that goes away is waited for: the keys meanwhile are
    // counted as not sent, and the same name opens again with RetryWaiting once it is back. Turned
    // off, or at a new choice of port, the waiting ends.
    void SetWatching(bool watching);
    // The system says a device of this port name left.
    void DeviceLeft(std::string_view portName);
    bool Waiting() const { return waiting_; }
    // One try to open the port waited for; whether it is back.
    bool RetryWaiting();

    // On the caller's thread after `wake`: reads what the reader heard and tells it.
    void TakeNews();
    // Reports the lines whose answers are overdue; call it at the moment TimeToCheck names.
    void CheckTime();
    // Milliseconds until CheckTime has something to do; nothing while nothing waits for an answer.
    std::optional<std::uint64_t> TimeToCheck() const;

    static std::uint64_t SteadyMs();

private:
    void Tell(const ConversationEvent& event);
    void TellAll(std::vector<ConversationEvent>& events);
    void Opened(std::unique_ptr<SerialPort> port);
    void LosePort();
    void StartReader();
    void StopReader();
    void ReadUntilStopped(SerialPort& port);
    void Unhear();

    SerialPortOpener& opener_;
    Clock clock_;
    std::vector<ConversationListener*> listeners_;
    std::unique_ptr<SerialPort> port_;
    std::string portName_;
    std::vector<PhoneCommand> preparation_;
    bool watching_ = false;
    bool waiting_ = false;
    long notSentMeanwhile_ = 0;
    int hearers_ = 0;
    std::shared_ptr<PortInbox> inbox_;
    std::thread reader_;
    AnswerParser parser_;
    AnswerCrediting crediting_;
};

}  // namespace tastolink
