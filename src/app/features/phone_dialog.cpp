#include "app/features/phone_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <array>
#include <string_view>

#include "phone/identify_on_port.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

using enum PhoneDialog::ControlId;

constexpr int kCodeColumn = 64;  // the codes' tab stop, in quarters of the list's average character

struct DialogControl {
    const wchar_t* windowClass;
    int id;
    DWORD style;
    Box box;
    std::string_view text;  // UTF-8
    DWORD extendedStyle = 0;
};

// In tab order; the labels come before what they name, so that a screen reader names it by them.
// clang-format off
constexpr DWORD kListStyle = WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
constexpr std::array<DialogControl, 8> kControls{{
    {WC_STATICW, -1, SS_LEFT | SS_NOPREFIX, {12, 12, 180, 13}, "Профиль:"},
    {WC_LISTBOXW, kProfileList, kListStyle | LBS_NOTIFY, {12, 28, 180, 100}, "", WS_EX_CLIENTEDGE},
    {WC_BUTTONW, kIdentifyButton, WS_TABSTOP | BS_PUSHBUTTON, {12, 136, 180, 25}, "Определить"},
    {WC_STATICW, kIdentityText, SS_LEFT | SS_NOPREFIX, {12, 170, 180, 202}, ""},
    {WC_STATICW, -1, SS_LEFT | SS_NOPREFIX, {204, 12, 196, 13}, "Коды кнопок:"},
    {WC_LISTBOXW, kCodeList, kListStyle | LBS_NOSEL | LBS_USETABSTOPS, {204, 28, 196, 344}, "", WS_EX_CLIENTEDGE},
    {WC_BUTTONW, IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, {244, 384, 75, 23}, "OK"},
    {WC_BUTTONW, IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, {325, 384, 75, 23}, "Отмена"},
}};
// clang-format on

constexpr std::string_view kNoPort = "Порт не открыт: выберите его и нажмите «Выбрать».";
constexpr std::string_view kNoKeypad = "Телефон не поддерживает управление клавиатурой (AT+CKPD)";

}  // namespace

PhoneDialog::PhoneDialog(PhoneProfiles& profiles, PhoneConversation& conversation)
    : ModalDialog({.className = L"TastolinkPhoneDialog", .caption = L"Телефон", .client = {412, 420}}),
      profiles_(profiles),
      conversation_(conversation) {}

void PhoneDialog::ShowModal(HWND owner) {
    const bool accepted = RunModal(owner);
    identification_.reset();  // an answer that comes now is nobody's
    if (!accepted) return;
    const std::string name = profiles_.All()[selected_].name;
    const bool changed = name != profiles_.Current().name;
    profiles_.Use(name);
    // The new profile's preparation goes out as at every opening of the port.
    if (changed && conversation_.IsOpen())
        conversation_.Open(conversation_.PortName(), profiles_.Preparation());
    profiles_.Choose(name);
}

bool PhoneDialog::BuildControls() {
    for (const DialogControl& control : kControls) {
        const std::wstring text = WideFromUtf8(control.text);
        if (!AddControl({.windowClass = control.windowClass,
                         .text = text.c_str(),
                         .style = control.style,
                         .id = control.id,
                         .place = ScaledRect(control.box),
                         .extendedStyle = control.extendedStyle}))
            return false;
    }
    HWND profiles = GetDlgItem(Handle(), kProfileList);
    for (const PhoneProfile& profile : profiles_.All())
        ListBox_AddString(profiles, WideFromUtf8(profile.name).c_str());
    ListBox_SetTabStops(GetDlgItem(Handle(), kCodeList), 1, &kCodeColumn);
    for (std::size_t index = 0; index < profiles_.All().size(); ++index)
        if (&profiles_.All()[index] == &profiles_.Current()) Select(static_cast<int>(index));
    return true;
}

void PhoneDialog::Select(int index) {
    selected_ = index;
    ListBox_SetCurSel(GetDlgItem(Handle(), kProfileList), index);
    HWND codes = GetDlgItem(Handle(), kCodeList);
    SetWindowRedraw(codes, FALSE);
    ListBox_ResetContent(codes);
    const PhoneProfile& profile = profiles_.All()[index];
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        const std::string& code = profile.codes[row];
        const std::string line =
            std::string(RowName(kPhoneKeyTable[row])) + "\t" + (code.empty() ? "—" : code);
        ListBox_AddString(codes, WideFromUtf8(line).c_str());
    }
    SetWindowRedraw(codes, TRUE);
    InvalidateRect(codes, nullptr, TRUE);
}

void PhoneDialog::Say(const std::string& text) const {
    SetWindowTextW(GetDlgItem(Handle(), kIdentityText), WideFromUtf8(text).c_str());
}

void PhoneDialog::IdentifyClick() {
    if (identification_ && !identification_->Finished()) return;  // still asking
    if (!conversation_.IsOpen()) return Say(std::string(kNoPort));
    Say("Спрашиваю телефон на " + conversation_.PortName() + "…");
    identification_ = std::make_unique<IdentificationRun>(
        conversation_, [this](const IdentificationAnswers& answers, bool phoneAnswered) {
            Identified(answers, phoneAnswered);
        });
    identification_->Start();
}

void PhoneDialog::Identified(const IdentificationAnswers& answers, bool phoneAnswered) {
    if (!phoneAnswered) return Say(SilentPhoneText({conversation_.PortName()}, Language::Russian));
    const PhoneIdentity identity = Identify(answers, profiles_.All());
    std::string text;
    for (const auto& [label, value] : IdentityFacts(identity, Language::Russian))
        text += label + ": " + value + "\r\n";
    if (!identity.keypadOffered) text += "\r\n" + std::string(kNoKeypad);
    Say(text);
    for (std::size_t index = 0; index < profiles_.All().size(); ++index)
        if (profiles_.All()[index].name == identity.profile) Select(static_cast<int>(index));
}

void PhoneDialog::OnCommand(int id, WORD notification) {
    switch (id) {
        case kProfileList:
            if (notification == LBN_SELCHANGE) Select(ListBox_GetCurSel(GetDlgItem(Handle(), kProfileList)));
            if (notification != LBN_DBLCLK) return;
            [[fallthrough]];
        case IDOK:
            return End(true);
        case kIdentifyButton:
            return IdentifyClick();
    }
}

}  // namespace tastolink
