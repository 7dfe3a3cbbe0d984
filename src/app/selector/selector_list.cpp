#include "app/selector/selector_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace tastolink {
namespace {

constexpr int kListId = 1000;  // the id a combo box gives its list

// How a note reads for assistive technology and in the tooltip.
std::wstring NoteText(const EntryNote& note) {
    if (!note.present) return L"порта нет в системе";
    return note.device.empty() ? L"порт есть в системе" : note.device;
}

int TextWidth(HDC dc, std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

bool IsListKey(WORD key) {
    switch (key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
            return true;
    }
    return false;
}

// The height of a line of text in `font`, as a list box gives each entry.
int LineHeight(HWND window, HFONT font) {
    HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return std::max<int>(metrics.tmHeight, 1);
}

}  // namespace

bool SelectorList::MakeWindows(HWND owner) {
    if (!CreateOfClass({.className = L"TastolinkComboListBox",
                        .style = WS_POPUP | WS_BORDER,
                        .extendedStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                        .parent = owner,
                        .background = GetSysColorBrush(COLOR_WINDOW)}))
        return false;
    if (!box_.Subclass(
            AddControl({.windowClass = WC_LISTBOXW,
                        .style = WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
                        .id = kListId}))) {
        Destroy();
        return false;
    }
    return true;
}

int SelectorList::EntryHeight(HFONT font) const { return LineHeight(List(), font); }

// Below the selector, or above it where the screen ends first; wide enough for the notes.
RECT SelectorList::PlaceFor(const SelectorListOwner& selector) const {
    int notesLeft = 0;
    return PlaceFor(selector, notesLeft);
}

RECT SelectorList::PlaceFor(const SelectorListOwner& selector, int& notesLeft) const {
    RECT frame;
    GetWindowRect(selector.SelectorWindow(), &frame);
    frame.right = std::max<LONG>(frame.right, frame.left + WidthForNotes(selector, notesLeft));
    const int shown = std::clamp(static_cast<int>(selector.EntryList().size()), 1, kMostEntriesShown);
    const int height = shown * EntryHeight(selector.EntryFont()) + 2 * GetSystemMetrics(SM_CYBORDER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor);
    const LONG top = frame.bottom + height > monitor.rcWork.bottom ? frame.top - height : frame.bottom;
    return {frame.left, top, frame.right, top + height};
}

void SelectorList::Drop(SelectorListOwner& selector) {
    Close();
    if (!Handle() && !MakeWindows(GetAncestor(selector.SelectorWindow(), GA_ROOT))) return;
    SetWindowRedraw(List(), FALSE);
    SendMessageW(List(), LB_SETCOUNT, selector.EntryList().size(), 0);
    SendMessageW(List(), LB_SETITEMHEIGHT, 0, EntryHeight(selector.EntryFont()));
    dropped_ = &selector;
    Highlight(selector.ShownOrMatchingEntry());
    SetWindowRedraw(List(), TRUE);

    const RECT place = PlaceFor(selector, notesLeft_);
    SetWindowPos(Handle(), HWND_TOPMOST, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RECT client;
    GetClientRect(Handle(), &client);
    MoveWindow(List(), 0, 0, client.right, client.bottom, TRUE);
    RaiseEvent(EVENT_OBJECT_SHOW, List());
    // A press on the selector's button holds the mouse until it is let go.
    if (GetCapture() != selector.SelectorWindow()) HoldMouse();
}

void SelectorList::Close(bool take) { Close(take, false); }

void SelectorList::CloseClicked(int entry) {
    ListBox_SetCurSel(List(), entry);
    Close(true, true);
}

void SelectorList::Close(bool take, bool clicked) {
    if (!dropped_) return;
    SelectorListOwner* selector = dropped_;
    selector->ListClosing(take);
    dropped_ = nullptr;
    const int chosen = ListBox_GetCurSel(List());
    if (GetCapture() == List()) {
        releasingMouse_ = true;
        ReleaseCapture();
        releasingMouse_ = false;
    }
    ShowWindow(Handle(), SW_HIDE);
    noteTip_.Hide();
    RaiseEvent(EVENT_OBJECT_HIDE, List());
    selector->ListClosed(take ? chosen : -1, clicked);
}

bool SelectorList::MoveByKey(WORD key) {
    if (!dropped_ || !IsListKey(key)) return false;
    // With no entry lit, the list box lights the first whatever the key; End means the last.
    if (key == VK_END && ListBox_GetCurSel(List()) < 0)
        ListBox_SetCurSel(List(), ListBox_GetCount(List()) - 1);
    else
        SendMessageW(List(), WM_KEYDOWN, key, 0);
    const int at = ListBox_GetCurSel(List());
    if (at >= 0) {
        RaiseEvent(EVENT_OBJECT_SELECTION, List(), at + 1);
        dropped_->KeysMovedTo(at);
    }
    return true;
}

int SelectorList::TopEntry() const { return ListBox_GetTopIndex(List()); }

// As a combo box does: with no entry lit, the first key in the list lights the first entry.
void SelectorList::Highlight(int index) {
    if (!dropped_) return;
    ListBox_SetCurSel(List(), index);
    SendMessageW(List(), LB_SETCARETINDEX, std::max(index, 0), 0);
    ListBox_SetTopIndex(List(), std::max(index, 0));
    if (index >= 0) RaiseEvent(EVENT_OBJECT_SELECTION, List(), index + 1);
}

void SelectorList::HighlightAndTell(int index) {
    if (index < 0 || index == ListBox_GetCurSel(List())) return;
    ListBox_SetCurSel(List(), index);
    RaiseEvent(EVENT_OBJECT_SELECTION, List(), index + 1);
}

void SelectorList::Scroll(WPARAM wheel) {
    if (dropped_) SendMessageW(List(), WM_MOUSEWHEEL, wheel, 0);
}

void SelectorList::ButtonHeldAt(HWND window, LPARAM point) {
    if (dropped_) HighlightAndTell(EntryAt(window, point));
}

void SelectorList::ButtonReleasedAt(HWND window, LPARAM point) {
    if (!dropped_) return;
    const int entry = EntryAt(window, point);
    if (entry < 0) return HoldMouse();
    CloseClicked(entry);
}

int SelectorList::WidthForNotes(const SelectorListOwner& selector, int& notesLeft) const {
    if (!selector.NoteOf(0)) return 0;
    HDC dc = GetDC(List());
    const HGDIOBJ old =
        SelectObject(dc, selector.EntryFont() ? selector.EntryFont() : GetStockObject(DEFAULT_GUI_FONT));
    int names = 0, notes = 0;
    for (std::size_t index = 0; index < selector.EntryList().size(); ++index) {
        names = std::max(names, TextWidth(dc, selector.EntryList()[index]));
        if (const EntryNote* note = selector.NoteOf(index))
            notes = std::max(notes, TextWidth(dc, note->device));
    }
    SelectObject(dc, old);
    ReleaseDC(List(), dc);
    const int gap = Scaled(8);
    notesLeft = names + gap;
    return notesLeft + notes + gap + GetSystemMetricsForDpi(SM_CXVSCROLL, Dpi()) +
           2 * GetSystemMetrics(SM_CXBORDER);
}

void SelectorList::PointAt(int entry, const MSG& move) {
    const EntryNote* note = entry >= 0 ? dropped_->NoteOf(static_cast<std::size_t>(entry)) : nullptr;
    if (!note) return;
    if (!noteTip_.Handle() && noteTip_.Create(Handle()))
        noteTip_.AddTool(List(), L"", Tooltip::Mouse::Relayed);
    noteTip_.FollowEntry(List(), move, entry, NoteText(*note));
}

void SelectorList::HoldMouse() {
    releasingMouse_ = true;
    SetCapture(List());
    releasingMouse_ = false;
}

int SelectorList::EntryAt(HWND window, LPARAM point) const {
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    MapWindowPoints(window, List(), &at, 1);
    return EntryAtClient(at);
}

// By the entries' height, not LB_ITEMFROMPOINT, whose answer has room for 65,536 entries only.
int SelectorList::EntryAtClient(POINT at) const {
    RECT client;
    GetClientRect(List(), &client);
    if (!PtInRect(&client, at)) return -1;
    const int entry = ListBox_GetTopIndex(List()) + at.y / std::max(ListBox_GetItemHeight(List(), 0), 1);
    return entry < ListBox_GetCount(List()) ? entry : -1;
}

void SelectorList::DrawEntry(const DRAWITEMSTRUCT& item) const {
    if (!dropped_ || item.itemID >= dropped_->EntryList().size()) return;
    const bool highlighted = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(item.hDC, GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkMode(item.hDC, TRANSPARENT);
    const HGDIOBJ old = SelectObject(
        item.hDC, dropped_->EntryFont() ? dropped_->EntryFont() : GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring_view entry = dropped_->EntryList()[item.itemID];
    const EntryNote* note = dropped_->NoteOf(item.itemID);
    // A port the system does not have is greyed; the device of one it has stands beside it.
    if (note && !note->present && !highlighted) SetTextColor(item.hDC, GetSysColor(COLOR_GRAYTEXT));
    ExtTextOutW(item.hDC, item.rcItem.left + 1, item.rcItem.top, ETO_CLIPPED, &item.rcItem, entry.data(),
                static_cast<UINT>(entry.size()), nullptr);
    if (note && !note->device.empty()) {
        RECT beside = item.rcItem;
        beside.left += notesLeft_;
        if (!highlighted) SetTextColor(item.hDC, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(item.hDC, note->device.c_str(), -1, &beside, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(item.hDC, old);
}

LRESULT SelectorList::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A tool that takes the list for the list box its class names asks it as one.
    if (message >= LB_ADDSTRING && message <= LB_MSGMAX) return SendMessageW(List(), message, wParam, lParam);
    switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = LineHeight(Handle(), Font());
            return TRUE;
        case WM_DRAWITEM:
            DrawEntry(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DESTROY:
            dropped_ = nullptr;
            accessible_.Disconnect();
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

LRESULT SelectorList::Box::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_CAPTURECHANGED:
            return owner_.OnListMouse(message, lParam);
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_GETOBJECT:
            if (LRESULT answer = owner_.accessible_.Answer(wParam, lParam)) return answer;
            break;
        case LB_GETTEXT:
        case LB_GETTEXTLEN:
            // A list box without data of its own has no texts: the entries are the selector's.
            return owner_.EntryText(message, wParam, lParam);
    }
    return Window::HandleMessage(message, wParam, lParam);
}

LRESULT SelectorList::EntryText(UINT message, WPARAM index, LPARAM buffer) const {
    if (!dropped_ || index >= dropped_->EntryList().size()) return LB_ERR;
    const std::wstring_view entry = dropped_->EntryList()[index];
    if (message == LB_GETTEXT) {
        if (!buffer) return LB_ERR;
        entry.copy(reinterpret_cast<wchar_t*>(buffer), entry.size());
        reinterpret_cast<wchar_t*>(buffer)[entry.size()] = L'\0';
    }
    return static_cast<LRESULT>(entry.size());
}

// The list highlights the entry under the mouse and takes the one clicked; a press outside it
// only closes it, and a press on its scroll bar scrolls it.
LRESULT SelectorList::OnListMouse(UINT message, LPARAM lParam) {
    if (message == WM_CAPTURECHANGED) {
        if (!releasingMouse_) Close();
        return 0;
    }
    if (!dropped_) return 0;
    const int entry = EntryAt(List(), lParam);
    switch (message) {
        case WM_MOUSEMOVE:
            HighlightAndTell(entry);
            PointAt(entry, MSG{List(), WM_MOUSEMOVE, 0, lParam, 0, {}});
            return 0;
        case WM_LBUTTONUP:
            if (entry >= 0) CloseClicked(entry);
            return 0;
    }
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(List(), &at);
    RECT frame;
    GetWindowRect(List(), &frame);
    if (!PtInRect(&frame, at)) {
        Close();
        return 0;
    }
    if (entry < 0 && (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)) {
        // The scroll bar tracks the mouse in a loop of its own, which takes the mouse and lets it
        // go as it likes: none of that closes the list.
        releasingMouse_ = true;
        ReleaseCapture();
        SendMessageW(List(), WM_NCLBUTTONDOWN, SendMessageW(List(), WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)),
                     MAKELPARAM(at.x, at.y));
        releasingMouse_ = false;
        if (dropped_) HoldMouse();
        return 0;
    }
    HighlightAndTell(entry);
    return 0;
}

// What assistive technology is told: the selector's name, and its entries as list items.
std::wstring SelectorList::Name() const { return dropped_ ? dropped_->AccessibleName() : std::wstring(); }

long SelectorList::State() const { return dropped_ ? 0 : STATE_SYSTEM_INVISIBLE; }

long SelectorList::ChildCount() const {
    return dropped_ ? static_cast<long>(dropped_->EntryList().size()) : 0;
}

std::wstring SelectorList::ChildName(long child) const {
    const auto index = static_cast<std::size_t>(child - 1);
    const EntryNote* note = dropped_->NoteOf(index);
    return std::wstring(dropped_->EntryList()[index]) + (note ? L", " + NoteText(*note) : L"");
}

long SelectorList::ChildState(long child) const {
    const bool highlighted = ListBox_GetCurSel(List()) == child - 1;
    return STATE_SYSTEM_SELECTABLE | (highlighted ? STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED : 0);
}

bool SelectorList::ChildPlace(long child, RECT& place) const {
    RECT client;
    GetClientRect(List(), &client);
    if (ListBox_GetItemRect(List(), child - 1, &place) == LB_ERR) return false;
    RECT shown;
    return IntersectRect(&shown, &place, &client) != FALSE;
}

long SelectorList::ChildAt(POINT client) const { return EntryAtClient(client) + 1; }

}  // namespace tastolink
