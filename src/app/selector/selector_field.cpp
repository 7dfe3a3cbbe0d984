#include "app/selector/selector_field.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/selector/selector.h"

namespace tastolink {
namespace {

constexpr int kFieldId = 1001;  // the id a combo box gives its edit field

}  // namespace

bool SelectorField::MoveInto(Selector& selector, RECT place, HFONT font, const std::wstring& text) {
    if (owner_ == &selector && edit_) return true;
    if (owner_ && edit_) owner_->KeepText(WindowText(edit_));
    owner_ = nullptr;
    if (!edit_) {
        edit_ = selector.MakeField(place, kFieldId);
        if (!edit_) return false;
        SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        editProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SelectorField::Procedure)));
    } else {
        ShowWindow(edit_, SW_HIDE);
        SetParent(edit_, selector.Handle());
        MoveWindow(edit_, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
    }
    SetWindowFont(edit_, font, FALSE);
    SetWindowTextW(edit_, text.c_str());
    owner_ = &selector;
    ShowWindow(edit_, SW_SHOW);
    return true;
}

void SelectorField::Forget(const Selector& selector) {
    if (owner_ != &selector) return;
    owner_ = nullptr;
    edit_ = nullptr;  // a child of the selector, destroyed with it
}

LRESULT CALLBACK SelectorField::Procedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* field = reinterpret_cast<SelectorField*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    Selector* owner = field->Owner();
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (owner && owner->OnFieldKey(LOWORD(wParam), (HIWORD(lParam) & KF_ALTDOWN) != 0)) return 0;
            break;
        case WM_GETOBJECT:
            // The field with the focus speaks for the selector it is in, as a combo box's field does.
            if (owner)
                if (LRESULT answer = owner->accessible_.Answer(wParam, lParam)) return answer;
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
                const LRESULT result = CallWindowProcW(field->editProcedure_, edit, message, wParam, lParam);
                owner->CompleteTyped();
                return result;
            }
            break;
    }
    return CallWindowProcW(field->editProcedure_, edit, message, wParam, lParam);
}

}  // namespace tastolink
