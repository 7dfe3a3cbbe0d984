#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "app/features/menu_switch.h"
#include "app/features/phone_profiles.h"
#include "app/features/status_segments.h"
#include "app/features/window_conversation.h"
#include "phone/event_reporting.h"
#include "phone/phone_events_heard.h"
#include "settings/settings_files.h"

namespace tastolink {

// The phone's own events, behind the switch "События телефона" (menu "Настройки", off by default,
// kept in events.ini). Turned on, it turns the phone's answers on and hears the phone; at each
// opening of the port, once the profile's preparation is sent, it asks the phone to report its keys,
// display and indicators (the profile's line, or the narrower forms the phone takes), and the status
// line says what it got, the last key pressed on the phone, the battery, the signal and the display.
// A recording takes the keys pressed on the phone from PhoneKeys. Off, nothing is sent or shown.
class PhoneEventsView : private ConversationListener {
public:
    PhoneEventsView(WindowConversation& phone, const PhoneProfiles& profiles, StatusSegments& status,
                    SettingsFiles& files, std::function<void()> turnAnswersOn);
    ~PhoneEventsView() override;
    PhoneEventsView(const PhoneEventsView&) = delete;
    PhoneEventsView& operator=(const PhoneEventsView&) = delete;

    // Reads the switch from its file and shows its menu item.
    void Load(HWND window);
    bool On() const { return switch_.On(); }
    // Turns the switch over and keeps it in its file. Throws SettingsError when a file can't be
    // written; the switches are turned all the same, until the program ends.
    void Toggle();
    // kPhoneEventsMessage: a port has opened since it was posted.
    void OnPortOpened();
    PhoneEventsHeard& PhoneKeys() { return heard_; }

private:
    void Heard(const ConversationEvent& event) override;
    void Apply();
    void AskAfterPreparation();
    void Reported();
    void ShowTexts();

    WindowConversation& phone_;
    const PhoneProfiles& profiles_;
    StatusSegments& status_;
    MenuSwitch switch_;
    std::function<void()> turnAnswersOn_;
    HWND window_ = nullptr;
    bool askPosted_ = false;
    PhoneConversation::Hearing hearing_;
    PhoneEventsHeard heard_;
    std::unique_ptr<EventReporting> reporting_;
};

}  // namespace tastolink
