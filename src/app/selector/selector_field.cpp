#include "app/selector/selector_field.h"

#include <windowsx.h>

namespace tastolink {
namespace {

constexpr int kFieldId = 1001;  // the id a combo box gives its edit field

}  // namespace

bool SelectorField::MoveInto(SelectorFieldOwner& owner, RECT place, HFONT font, const std::wstring& text) {
    if (IsIn(owner)) return true;
    if (SelectorFieldOwner* left = Owner()) left->KeepText(WindowText(Handle()));
    owner_ = nullptr;
    if (!Handle()) {
        if (!Subclass(owner.MakeField(place, kFieldId))) return false;
    } else {
        ShowWindow(Handle(), SW_HIDE);
        SetParent(Handle(), owner.SelectorWindow());
        MoveWindow(Handle(), place.left, place.top, place.right - place.left, place.bottom - place.top,
                   FALSE);
    }
    SetWindowFont(Handle(), font, FALSE);
    SetWindowTextW(Handle(), text.c_str());
    owner_ = &owner;
    ShowWindow(Handle(), SW_SHOW);
    return true;
}

void SelectorField::Forget(const SelectorFieldOwner& owner) {
    if (owner_ == &owner) owner_ = nullptr;
}

LRESULT SelectorField::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    SelectorFieldOwner* owner = Owner();
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (owner && owner->OnFieldKey(LOWORD(wParam), (HIWORD(lParam) & KF_ALTDOWN) != 0)) return 0;
            break;
        case WM_GETOBJECT:
            if (owner)
                if (LRESULT answer = owner->AnswerForField(wParam, lParam)) return answer;
            break;
        case WM_MOUSEWHEEL:
            // A single-line edit field keeps the wheel to itself and does nothing with it.
            if (!owner) break;
            owner->OnWheel(wParam);
            return 0;
        case WM_CHAR:
            // A single-line edit field only beeps at Enter and Esc; the selector has used them.
            if (wParam == L'\r' || wParam == 0x1B) return 0;
            if (owner && wParam >= L' ' && wParam != 0x7F) {
                typing_ = true;
                const LRESULT result = Window::HandleMessage(message, wParam, lParam);
                typing_ = false;
                owner->CompleteTyped();
                return result;
            }
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tastolink
