#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/features/phone_profiles.h"
#include "app/window/modal_dialog.h"
#include "link/phone_conversation.h"
#include "phone/identification_run.h"

namespace tastolink {

// "Настройки → Телефон…": the profile chosen from a list, with the code each button sends under it,
// and "Определить", which asks the phone on the port chosen who it is and picks the first profile
// that matches it. OK keeps the choice in phone.ini and, on a port that is open, opens it again for
// the new profile's preparation; Отмена, Esc and the close leave everything as it was.
class PhoneDialog final : public ModalDialog {
public:
    enum ControlId : int { kProfileList = 101, kCodeList, kIdentifyButton, kIdentityText };

    PhoneDialog(PhoneProfiles& profiles, PhoneConversation& conversation);
    ~PhoneDialog() override { Destroy(); }

    // Shows the dialog over the disabled owner until it closes. Throws SettingsError when the choice
    // can't be kept; it holds all the same, until the program ends; std::runtime_error when the
    // dialog can't be made.
    void ShowModal(HWND owner);

private:
    bool BuildControls() override;
    void OnCommand(int id, WORD notification) override;
    // The profile of the list's entry `index`, and each button's code in it.
    void Select(int index);
    void IdentifyClick();
    void Identified(const IdentificationAnswers& answers, bool phoneAnswered);
    void Say(const std::string& text) const;

    PhoneProfiles& profiles_;
    PhoneConversation& conversation_;
    std::unique_ptr<IdentificationRun> identification_;
    int selected_ = 0;
};

}  // namespace tastolink
