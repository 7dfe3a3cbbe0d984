#include "app/features/phone_events_view.h"

#include "app/window/message_ids.h"
#include "link/answer_parser.h"
#include "phone/key_names.h"
#include "settings/switch_files.h"
#include "shared/unicode_text.h"

namespace tastolink {
namespace {

// "Батарея: 3 из 5".
std::optional<std::string> LevelText(std::string_view name, std::optional<IndicatorLevel> level) {
    if (!level) return std::nullopt;
    return std::string(name) + ": " + std::to_string(level->value) + " из " + std::to_string(level->highest);
}

}  // namespace

PhoneEventsView::PhoneEventsView(WindowConversation& phone, const PhoneProfiles& profiles,
                                 StatusSegments& status, SettingsFiles& files,
                                 std::function<void()> turnAnswersOn)
    : phone_(phone),
      profiles_(profiles),
      status_(status),
      files_(files),
      turnAnswersOn_(std::move(turnAnswersOn)) {
    phone_.Phone().AddListener(*this);
}

PhoneEventsView::~PhoneEventsView() {
    reporting_.reset();
    phone_.Phone().RemoveListener(*this);
}

void PhoneEventsView::Load(HWND window) {
    window_ = window;
    on_ = LoadSwitch(files_, kPhoneEventsSwitchFile);
    Apply();
}

void PhoneEventsView::Toggle() {
    on_ = !on_;
    Apply();
    // The answers first: a file that can't be saved stops neither switch.
    if (on_) turnAnswersOn_();
    SaveSwitch(files_, kPhoneEventsSwitchFile, on_);
}

void PhoneEventsView::Apply() {
    CheckMenuItem(GetMenu(window_), kMenuPhoneEvents, on_ ? MF_CHECKED : MF_UNCHECKED);
    hearing_ = on_ ? PhoneConversation::Hearing(phone_.Phone()) : PhoneConversation::Hearing();
    reporting_.reset();
    heard_.Forget();
    if (on_ && phone_.Phone().IsOpen()) AskAfterPreparation();
    ShowTexts();
}

// The conversation tells of an opening before it sends the preparation: the phone is asked once
// the window has its turn again, with the preparation sent.
void PhoneEventsView::AskAfterPreparation() {
    if (!askPosted_) askPosted_ = PostMessageW(window_, kPhoneEventsMessage, 0, 0) != FALSE;
}

void PhoneEventsView::OnPortOpened() {
    askPosted_ = false;
    if (!on_ || !phone_.Phone().IsOpen()) return;
    const PhoneProfile& profile = profiles_.Current();
    heard_.Expect(ReportCharacterSet(profile), false);
    reporting_ = std::make_unique<EventReporting>(phone_.Phone(), profile.eventLine, [this] { Reported(); });
    reporting_->Start();
    ShowTexts();
}

void PhoneEventsView::Reported() {
    const auto taken = reporting_->Taken();
    heard_.Expect(ReportCharacterSet(profiles_.Current()), taken && taken->programKeys);
    ShowTexts();
}

void PhoneEventsView::Heard(const ConversationEvent& event) {
    if (!on_) return;
    if (std::holds_alternative<heard::Opened>(event) || std::holds_alternative<heard::PortBack>(event)) {
        reporting_.reset();
        heard_.Forget();
        AskAfterPreparation();
    }
    heard_.Heard(event);
    if (!std::holds_alternative<heard::Written>(event)) ShowTexts();
}

void PhoneEventsView::ShowTexts() {
    using Text = std::optional<std::string>;
    const PhoneEventStatus& status = heard_.Status();
    const std::string& key = status.LastKey();
    const std::string& display = status.DisplayText();
    status_.Write(Segment::PhoneEvents, on_ && reporting_ ? Text(reporting_->Text()) : std::nullopt);
    status_.Write(Segment::PhoneKey,
                  on_ && !key.empty() ? Text("На телефоне: " + KeyNameOfCode(key, profiles_.Current().codes))
                                      : std::nullopt);
    status_.Write(Segment::Battery, on_ ? LevelText("Батарея", status.Battery()) : std::nullopt);
    status_.Write(Segment::Signal, on_ ? LevelText("Сеть", status.Signal()) : std::nullopt);
    // Whatever a phone writes on its display is shown, its control characters too, as marks.
    status_.Write(Segment::PhoneDisplay, on_ && !display.empty()
                                             ? Text("«" + Quotable(display, kLongestAnswerLine) + "»")
                                             : std::nullopt);
}

}  // namespace tastolink
