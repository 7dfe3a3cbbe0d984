#include "app/selector_field.h"

#include <commctrl.h>
#include <windowsx.h>

#include "app/selector.h"

namespace tastolink {
namespace {

constexpr int kFieldId = 1001;  // the id a combo box gives its edit field

}  // namespace

bool SelectorField::MoveInto(Selector& selector, RECT place, HFONT font, const std::wstring& text) {
    if (owner_ == &selector && edit_) return true;
    if (owner_ && edit_) owner_->KeepText(WindowText(edit_));
    owner_ = nullptr;
    if (!edit_) {
        edit_ = CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | ES_LEFT | ES_AUTOHSCROLL, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, selector.Handle(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)),
                                GetModuleHandleW(nullptr), nullptr);
        if (!edit_) return false;
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

}  // namespace tastolink
