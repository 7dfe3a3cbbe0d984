#include "link/phone_conversation.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "link/port_names.h"

namespace tastolink {
namespace {

// A phone that keeps sending is read at most once in this time, whatever came meanwhile at once:
// a flood costs the reader and the caller's thread a bounded number of rounds a second, each a few
// trips through the Wine server. A read takes up to 4 KiB, so 50 reads a second still take in
// more than a serial line carries, and the first words after a quiet spell are read at once.
constexpr auto kReadPace = std::chrono::milliseconds(20);

}  // namespace

std::uint64_t PhoneConversation::SteadyMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

PhoneConversation::PhoneConversation(SerialPortOpener& opener, std::function<void()> wake, Clock clock)
    : opener_(opener), clock_(std::move(clock)), inbox_(std::make_shared<PortInbox>(std::move(wake))) {}

PhoneConversation::~PhoneConversation() { StopReader(); }

void PhoneConversation::AddListener(ConversationListener& listener) { listeners_.push_back(&listener); }

void PhoneConversation::RemoveListener(ConversationListener& listener) { std::erase(listeners_, &listener); }

void PhoneConversation::Tell(const ConversationEvent& event) {
    // A listener may add or remove listeners, or talk to the phone, while it is told.
    const std::vector<ConversationListener*> listeners = listeners_;
    for (ConversationListener* listener : listeners)
        if (std::ranges::find(listeners_, listener) != listeners_.end()) listener->Heard(event);
}

void PhoneConversation::TellAll(std::vector<ConversationEvent>& events) {
    for (const ConversationEvent& event : events) Tell(event);
    events.clear();
}

bool PhoneConversation::Open(const std::string& portName, std::vector<PhoneCommand> preparation) {
    StopReader();
    // Closed first: choosing the same port again must not find it busy.
    port_.reset();
    inbox_->TakeAll();  // what the last port's reader heard is no answer of this one
    crediting_.Forget();
    portName_ = portName;
    preparation_ = std::move(preparation);
    waiting_ = false;
    PortOpening opening = opener_.Open(portName);
    if (auto* failure = std::get_if<PortFailure>(&opening)) {
        Tell(heard::NotOpened{portName, std::move(*failure)});
        return false;
    }
    Tell(heard::Opened{portName});
    Opened(std::move(std::get<std::unique_ptr<SerialPort>>(opening)));
    return true;
}

void PhoneConversation::Opened(std::unique_ptr<SerialPort> port) {
    port_ = std::move(port);
    parser_ = AnswerParser();
    StartReader();
    for (const PhoneCommand& line : preparation_)
        if (!Send(line)) break;
}

bool PhoneConversation::Send(const PhoneCommand& command) {
    using Why = heard::NotWritten::Why;
    if (!port_) {
        if (!waiting_) {
            Tell(heard::NotWritten{command, Why::NoPort, portName_});
            return false;
        }
        Tell(heard::NotWritten{command, Why::Waiting, portName_, ++notSentMeanwhile_});
        return false;
    }
    switch (port_->Write(command.line)) {
        case WriteOutcome::Written: {
            std::vector<ConversationEvent> events{heard::Written{command}};
            if (Hears()) crediting_.Sent(command, clock_(), events);
            TellAll(events);
            return true;
        }
        case WriteOutcome::Failed:
            Tell(heard::NotWritten{command, Why::Failed, portName_});
            return false;
        case WriteOutcome::Lost:
            if (!watching_) {
                Tell(heard::NotWritten{command, Why::Lost, portName_});
                return false;
            }
            LosePort();
            return Send(command);  // counted as not sent while the port is waited for
    }
    return false;
}

void PhoneConversation::LosePort() {
    if (watching_ && port_) {
        StopReader();
        port_.reset();
        crediting_.Forget();
        waiting_ = true;
        notSentMeanwhile_ = 0;
    }
    // Not watched, the port stays chosen: the next write fails and says so.
    Tell(heard::PortLost{portName_, waiting_});
}

void PhoneConversation::SetWatching(bool watching) {
    watching_ = watching;
    if (watching_ || !waiting_) return;
    waiting_ = false;
    Tell(heard::PortLost{portName_, false});
}

void PhoneConversation::DeviceLeft(std::string_view portName) {
    if (watching_ && port_ && SamePortName(portName, portName_)) LosePort();
}

bool PhoneConversation::RetryWaiting() {
    if (!waiting_) return false;
    PortOpening opening = opener_.Open(portName_);
    auto* port = std::get_if<std::unique_ptr<SerialPort>>(&opening);
    if (!port) return false;
    waiting_ = false;
    Tell(heard::PortBack{portName_});
    Opened(std::move(*port));
    return true;
}

PhoneConversation::Hearing::Hearing(PhoneConversation& conversation) : conversation_(&conversation) {
    if (conversation_->hearers_++ == 0) conversation_->StartReader();
}

PhoneConversation::Hearing::~Hearing() {
    if (conversation_) conversation_->Unhear();
}

PhoneConversation::Hearing::Hearing(Hearing&& other) noexcept
    : conversation_(std::exchange(other.conversation_, nullptr)) {}

PhoneConversation::Hearing& PhoneConversation::Hearing::operator=(Hearing&& other) noexcept {
    if (this != &other) {
        if (conversation_) conversation_->Unhear();
        conversation_ = std::exchange(other.conversation_, nullptr);
    }
    return *this;
}

void PhoneConversation::Unhear() {
    if (--hearers_ > 0) return;
    StopReader();
    crediting_.Forget();  // nobody hears an answer now
}

void PhoneConversation::StartReader() {
    if (!Hears() || !port_ || reader_.joinable()) return;
    // What the phone said while nobody heard answered lines sent before: no answer to any line after.
    port_->DiscardReceived();
    reader_ = std::thread([this, port = port_.get()] { ReadUntilStopped(*port); });
}

void PhoneConversation::StopReader() {
    if (!reader_.joinable()) return;
    port_->StopReading();
    reader_.join();
}

void PhoneConversation::ReadUntilStopped(SerialPort& port) {
    std::string bytes;
    for (;;) {
        bytes.clear();
        switch (port.Read(bytes)) {
            case ReadOutcome::Stopped:
                return;
            case ReadOutcome::Lost:
                inbox_->Push({PortNews::Kind::Lost});
                return;
            case ReadOutcome::Dropped:
                inbox_->Push({PortNews::Kind::Dropped});
                [[fallthrough]];
            case ReadOutcome::Received:
                if (!bytes.empty()) inbox_->Push({PortNews::Kind::Received, std::move(bytes)});
                break;
        }
        std::this_thread::sleep_for(kReadPace);
    }
}

void PhoneConversation::TakeNews() {
    std::vector<ConversationEvent> events;
    bool lost = false;
    for (PortNews& news : inbox_->TakeAll()) {
        switch (news.kind) {
            case PortNews::Kind::Received:
                for (const PhoneAnswer& answer : parser_.Feed(news.bytes))
                    crediting_.Line(answer, clock_(), events);
                break;
            case PortNews::Kind::Dropped:
                parser_.Break();
                crediting_.BytesLost(events);
                break;
            case PortNews::Kind::Lost:
                lost = true;
                break;
        }
    }
    // All of it is credited before anyone hears of it: a listener that answers with a line of its
    // own must not have this batch's answers taken for it.
    TellAll(events);
    if (lost && port_) LosePort();
}

void PhoneConversation::CheckTime() {
    std::vector<ConversationEvent> events;
    crediting_.Check(clock_(), events);
    TellAll(events);
}

std::optional<std::uint64_t> PhoneConversation::TimeToCheck() const {
    const auto at = crediting_.NextCheckAt();
    if (!at) return std::nullopt;
    const std::uint64_t now = clock_();
    return *at > now ? *at - now : 0;
}

}  // namespace tastolink
