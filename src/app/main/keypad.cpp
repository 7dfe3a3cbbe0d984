#include "app/main/keypad.h"

#include <windowsx.h>

#include "app/main/main_window_layout.h"
#include "app/res/resource_ids.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr char kLongPressTip[] = "Правая кнопка мыши: долгое нажатие (2 с)";

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
    if (!tips_.Create(parent)) return;
    for (const KeypadButton& button : buttons_) tips_.AddTool(button.Handle(), WideFromUtf8(kLongPressTip));
}

}  // namespace tastolink
