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
      switch_(files, kPhoneEventsSwitchFile, kMenuPhoneEvents),
      turnAnswersOn_(std::move(turnAnswersOn)) {
    phone_.Phone().AddListener(*this);
}

PhoneEventsView::~PhoneEventsView() {
    reporting_.reset();
    phone_.Phone().RemoveListener(*this);
}

void PhoneEventsView::Load(HWND window) {
    window_ = window;
    switch_.Load(window);
    Apply();
}

void PhoneEventsView::Toggle() {
    switch_.Flip();
    Apply();
    // The answers first: a file that can't be saved stops neither switch.
    if (switch_.On()) turnAnswersOn_();
    switch_.Save();
}

void PhoneEventsView::Apply() {
    hearing_ = switch_.On() ? PhoneConversation::Hearing(phone_.Phone()) : PhoneConversation::Hearing();
    reporting_.reset();
    heard_.Forget();
    if (switch_.On() && phone_.Phone().IsOpen()) AskAfterPreparation();
    ShowTexts();
}

// The conversation tells of an opening before it sends the preparation: the phone is asked once
// the window has its turn again, with the preparation sent.
void PhoneEventsView::AskAfterPreparation() {
    if (!askPosted_) askPosted_ = PostMessageW(window_, kPhoneEventsMessage, 0, 0) != FALSE;
}

void PhoneEventsView::OnPortOpened() {
    askPosted_ = false;
    if (!switch_.On() || !phone_.Phone().IsOpen()) return;
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
    if (!switch_.On()) return;
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
    status_.Write(Segment::PhoneEvents, switch_.On() && reporting_ ? Text(reporting_->Text()) : std::nullopt);
    status_.Write(Segment::PhoneKey,
                  switch_.On() && !key.empty()
                      ? Text("На телефоне: " + KeyNameOfCode(key, profiles_.Current().codes))
                      : std::nullopt);
    status_.Write(Segment::Battery, switch_.On() ? LevelText("Батарея", status.Battery()) : std::nullopt);
    status_.Write(Segment::Signal, switch_.On() ? LevelText("Сеть", status.Signal()) : std::nullopt);
    // Whatever a phone writes on its display is shown, its control characters too, as marks.
    status_.Write(Segment::PhoneDisplay, switch_.On() && !display.empty()
                                             ? Text("«" + Quotable(display, kLongestAnswerLine) + "»")
                                             : std::nullopt);
}

}  // namespace tastolink
