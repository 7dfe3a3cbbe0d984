#pragma once

#include <windows.h>

#include "app/features/menu_switch.h"
#include "app/features/status_segments.h"
#include "app/features/window_conversation.h"
#include "settings/settings_files.h"

namespace tastolink {

// The phone's answers, behind the switch "Ответы телефона" (menu "Настройки", off by default, kept in
// answers.ini). While it is on the phone is heard, and the status line shows the last key with its
// answer, the line the phone sent of its own and the counts. Off, nothing of this exists.
class PhoneAnswers : private ConversationListener {
public:
    PhoneAnswers(WindowConversation& phone, StatusSegments& status, SettingsFiles& files);
    ~PhoneAnswers() override;
    PhoneAnswers(const PhoneAnswers&) = delete;
    PhoneAnswers& operator=(const PhoneAnswers&) = delete;

    // Reads the switch from its file and shows its menu item.
    void Load(HWND window);
    bool On() const { return switch_.On(); }
    // Turns the switch over and keeps it in its file. Throws SettingsError when the file can't be
    // written; the switch is turned all the same, until the program ends.
    void Toggle();
    // As Toggle, where the switch is off.
    void TurnOn() {
        if (!switch_.On()) Toggle();
    }

private:
    void Heard(const ConversationEvent& event) override;
    void Apply();
    void ShowTexts();

    WindowConversation& phone_;
    StatusSegments& status_;
    MenuSwitch switch_;
    HWND window_ = nullptr;
    PhoneConversation::Hearing hearing_;
};

}  // namespace tastolink
