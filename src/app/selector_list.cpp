#include "app/selector_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "app/selector.h"

namespace tastolink {
namespace {

constexpr int kMostEntriesShown = 16;

}  // namespace

SelectorList::~SelectorList() {
    if (popup_) DestroyWindow(popup_);
}

bool SelectorList::MakePopup(HWND owner) {
    popup_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WC_LISTBOXW, nullptr,
                             WS_POPUP | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0, owner,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (popup_) SetWindowSubclass(popup_, PopupProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    return popup_ != nullptr;
}

void SelectorList::Drop(Selector& selector) {
    Close();
    if (!popup_ && !MakePopup(GetAncestor(selector.Handle(), GA_ROOT))) return;
    const std::vector<std::wstring>& entries = selector.EntryList();
    SetWindowRedraw(popup_, FALSE);
    if (filledWith_ != selector.SharedEntries()) {
        filledWith_ = selector.SharedEntries();
        ListBox_ResetContent(popup_);
        SendMessageW(popup_, LB_INITSTORAGE, entries.size(), 0);
        for (const std::wstring& entry : entries) {
            const int added = ListBox_AddString(popup_, entry.c_str());
            if (added != LB_ERR && added != LB_ERRSPACE) continue;
            filledWith_
                .reset();  // out of memory: the list offers what it holds, and is filled again next time
            break;
        }
    }
    SetWindowFont(popup_, GetWindowFont(selector.Handle()), FALSE);
    const int current = selector.FindEntry(selector.Text());
    ListBox_SetCurSel(popup_, current);
    if (current >= 0) ListBox_SetTopIndex(popup_, current);
    SetWindowRedraw(popup_, TRUE);

    // Below the selector, or above it where the screen ends first.
    RECT frame;
    GetWindowRect(selector.Handle(), &frame);
    const int shown = std::clamp(static_cast<int>(entries.size()), 1, kMostEntriesShown);
    const int height = shown * ListBox_GetItemHeight(popup_, 0) + 2 * GetSystemMetrics(SM_CYBORDER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor);
    const int top = frame.bottom + height > monitor.rcWork.bottom ? frame.top - height : frame.bottom;
    dropped_ = &selector;
    SetWindowPos(popup_, HWND_TOPMOST, frame.left, top, frame.right - frame.left, height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void SelectorList::Close(bool take) {
    if (!dropped_) return;
    Selector* selector = dropped_;
    dropped_ = nullptr;
    const int chosen = ListBox_GetCurSel(popup_);
    ShowWindow(popup_, SW_HIDE);
    if (take && chosen >= 0) selector->ShowEntry(chosen);
}

void SelectorList::CloseUnlessOn(HWND target) {
    if (dropped_ && target != popup_ && target != dropped_->Handle()) Close();
}

void SelectorList::Step(int step) {
    const int last = ListBox_GetCount(popup_) - 1;
    if (!dropped_ || last < 0) return;
    const int at = ListBox_GetCurSel(popup_);
    const int next = at < 0 ? 0 : std::clamp(at + step, 0, last);
    ListBox_SetCurSel(popup_, next);
    dropped_->ShowEntry(next);
}

void SelectorList::Highlight(int index) {
    if (!dropped_) return;
    ListBox_SetCurSel(popup_, index);
    if (index >= 0) ListBox_SetTopIndex(popup_, index);
}

void SelectorList::Scroll(WPARAM wheel) { SendMessageW(popup_, WM_MOUSEWHEEL, wheel, 0); }

void SelectorList::PointedFrom(HWND window, LPARAM point, bool take) {
    if (!dropped_) return;
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    MapWindowPoints(window, popup_, &at, 1);
    RECT client;
    GetClientRect(popup_, &client);
    if (!PtInRect(&client, at)) return;
    const int entry = EntryAt(MAKELPARAM(at.x, at.y));
    if (entry < 0) return;
    ListBox_SetCurSel(popup_, entry);
    if (take) Close(true);
}

int SelectorList::EntryAt(LPARAM point) const {
    const LRESULT found = SendMessageW(popup_, LB_ITEMFROMPOINT, 0, point);
    return HIWORD(found) ? -1 : LOWORD(found);
}

// The list highlights the entry under the mouse and takes the one clicked; it never takes the
// focus, which stays in the selector's field.
LRESULT CALLBACK SelectorList::PopupProcedure(HWND popup, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR self) {
    auto* list = reinterpret_cast<SelectorList*>(self);
    switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_MOUSEMOVE: {
            const int entry = list->EntryAt(lParam);
            if (entry >= 0 && entry != ListBox_GetCurSel(popup)) ListBox_SetCurSel(popup, entry);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return 0;
        case WM_LBUTTONUP: {
            const int entry = list->EntryAt(lParam);
            if (entry < 0) return 0;
            ListBox_SetCurSel(popup, entry);
            list->Close(true);
            return 0;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(popup, PopupProcedure, 0);
            list->popup_ = nullptr;
            list->dropped_ = nullptr;
            list->filledWith_.reset();
            break;
    }
    return DefSubclassProc(popup, message, wParam, lParam);
}

}  // namespace tastolink
