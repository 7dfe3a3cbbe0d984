#include "app/features/phone_answers.h"

#include "app/window/message_ids.h"
#include "settings/switch_files.h"

namespace tastolink {

PhoneAnswers::PhoneAnswers(WindowConversation& phone, StatusSegments& status, SettingsFiles& files)
    : phone_(phone), status_(status), switch_(files, kAnswersSwitchFile, kMenuAnswers) {
    phone_.Phone().AddListener(*this);
}

PhoneAnswers::~PhoneAnswers() { phone_.Phone().RemoveListener(*this); }

void PhoneAnswers::Load(HWND window) {
    window_ = window;
    switch_.Load(window);
    Apply();
}

void PhoneAnswers::Toggle() {
    switch_.Flip();
    Apply();
    switch_.Save();
}

void PhoneAnswers::Apply() {
    hearing_ = switch_.On() ? PhoneConversation::Hearing(phone_.Phone()) : PhoneConversation::Hearing();
    ShowTexts();
}

void PhoneAnswers::Heard(const ConversationEvent&) { ShowTexts(); }

void PhoneAnswers::ShowTexts() {
    const ConversationTexts& texts = phone_.Texts();
    const auto shown = [this](const std::string& text) {
        return switch_.On() ? std::optional(text) : std::nullopt;
    };
    status_.Write(Segment::LastKey, shown(texts.LastKey()));
    status_.Write(Segment::PhoneSaid, shown(texts.PhoneSaid()));
    status_.Write(Segment::Counts, shown(texts.Counts()));
}

}  // namespace tastolink
