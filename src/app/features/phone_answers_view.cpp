#include "app/features/phone_answers_view.h"

#include "settings/switch_files.h"

namespace tastolink {
namespace {

// A phone answers a keypad command within a few tenths of a second; a second of silence is none.
constexpr UINT kSilenceMs = 1000;

}  // namespace

PhoneAnswersView::PhoneAnswersView(PortOpener& plainPorts, SettingsFiles& files)
    : files_(files),
      inbox_(std::make_shared<PortEventInbox>([this] { PostMessageW(window_.load(), kWakeMessage, 0, 0); })),
      answering_(inbox_),
      ports_(*this, plainPorts) {}

void PhoneAnswersView::Attach(HWND window) {
    window_ = window;
    on_ = LoadSwitch(files_, kAnswersSwitchFile);
}

void PhoneAnswersView::Toggle() {
    on_ = !on_;
    if (!on_) KillTimer(window_, kSilenceTimer);
    SaveSwitch(files_, kAnswersSwitchFile, on_);
}

bool PhoneAnswersView::TakeEvents() {
    bool lost = false;
    for (const PortEvent& event : inbox_->TakeAll()) {
        switch (event.kind) {
            case PortEvent::Kind::Opened:
                status_.PortOpened(event.text);
                lost = false;  // a port lost before it was another one
                break;
            case PortEvent::Kind::FailedOpen:
                status_.PortFailed(event.text, event.reason);
                break;
            case PortEvent::Kind::Lost:
                status_.PortLost(event.text);
                lost = true;
                break;
            case PortEvent::Kind::Received:
                status_.Received(event.text);
                break;
            case PortEvent::Kind::Dropped:
                status_.Dropped();
                break;
            case PortEvent::Kind::Written:
                status_.Sent(event.text);
                SetTimer(window_, kSilenceTimer, kSilenceMs, nullptr);
                break;
        }
    }
    if (!status_.Expecting()) KillTimer(window_, kSilenceTimer);
    return lost;
}

// Again every second while a given-up key's answer is still owed.
void PhoneAnswersView::Silence() {
    status_.Silence();
    if (!status_.Expecting()) KillTimer(window_, kSilenceTimer);
}

StatusBar::Texts PhoneAnswersView::Texts() const {
    return {status_.Port(), status_.LastKey(), status_.Unsolicited(), status_.Counts()};
}

}  // namespace tastolink
