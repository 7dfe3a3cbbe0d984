#include "app/main/keypad.h"

#include <windowsx.h>

#include "app/main/main_window_layout.h"
#include "app/res/resource_ids.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// 'Отправляет AT+CKPD="^"; правая кнопка мыши — долгое нажатие (1,5 с)', or why the button sends nothing.
std::string TipText(const PhoneProfile& profile, int row) {
    const std::string& code = profile.codes[row];
    if (code.empty())
        return "Профиль «" + profile.name + "» не даёт этой кнопке кода: она ничего не отправляет";
    const int tenths = profile.longPressTenths;
    const std::string seconds =
        std::to_string(tenths / 10) + (tenths % 10 ? "," + std::to_string(tenths % 10) : "");
    return "Отправляет AT+CKPD=\"" + code + "\"; правая кнопка мыши — долгое нажатие (" + seconds + " с)";
}

int PictureResource(KeypadPicture picture) {
    // clang-format off
    switch (picture) {
        case KeypadPicture::Menu: return IDB_MENU;
        case KeypadPicture::ArrowUp: return IDB_ARROW_UP;
        case KeypadPicture::ArrowDown: return IDB_ARROW_DOWN;
        case KeypadPicture::ArrowLeft: return IDB_ARROW_LEFT;
        case KeypadPicture::ArrowRight: return IDB_ARROW_RIGHT;
        case KeypadPicture::Dot: return IDB_DOT;
        case KeypadPicture::GreenHandset: return IDB_HANDSET_GREEN;
        case KeypadPicture::RedHandset: return IDB_HANDSET_RED;
        case KeypadPicture::None: break;
    }
    // clang-format on
    return 0;
}

}  // namespace

Keypad::Made Keypad::AddButton(int row, HWND parent, RECT place, HFONT font) {
    const PhoneKey& key = kPhoneKeyTable[row];
    std::string_view caption = key.caption;
    Made made = Made::Whole;
    if (const int resource = PictureResource(key.picture)) {
        pictures_[row].Reset(static_cast<HBITMAP>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!pictures_[row].Get()) {
            made = Made::WithoutPicture;
            caption = key.code;
        }
    }
    if (!buttons_[row].Create(parent, SpeedButtonId(key.keypadButton), WideFromUtf8(caption).c_str(),
                              pictures_[row].Get(), KeypadButton::Look::Raised, place,
                              WideFromUtf8(RowName(key))))
        return Made::Not;
    SetWindowFont(buttons_[row].Handle(), font, FALSE);
    return made;
}

void Keypad::AddTooltips(HWND parent) {
    tooltipMade_ = tooltip_.Create(parent);
    if (!tooltipMade_) return;
    for (int row = 0; row < kPhoneKeyCount; ++row) tooltip_.AddTool(buttons_[row].Handle(), tips_[row]);
}

void Keypad::Follow(const PhoneProfile& profile) {
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        buttons_[row].SetAvailable(!profile.codes[row].empty());
        tips_[row] = WideFromUtf8(TipText(profile, row));
        if (tooltipMade_) tooltip_.SetText(buttons_[row].Handle(), tips_[row]);
        // A button whose picture did not load shows the code it sends instead.
        if (kPhoneKeyTable[row].picture != KeypadPicture::None && !pictures_[row].Get()) {
            SetWindowTextW(buttons_[row].Handle(), WideFromUtf8(profile.codes[row]).c_str());
            InvalidateRect(buttons_[row].Handle(), nullptr, FALSE);
        }
    }
}

}  // namespace tastolink
