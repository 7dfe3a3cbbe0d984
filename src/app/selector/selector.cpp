#include "app/selector/selector.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace tastolink {
namespace {

constexpr int kBorder = 2;   // the sunken edge
constexpr int kPadding = 1;  // between the edge and the field

constexpr wchar_t kOpen[] = L"Открыть";
constexpr wchar_t kClose[] = L"Закрыть";

bool BeginsWith(std::wstring_view entry, const std::wstring& text) {
    return entry.size() >= text.size() &&
           CompareStringOrdinal(entry.data(), static_cast<int>(text.size()), text.data(),
                                static_cast<int>(text.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

bool Selector::Create(HWND parent, int id, RECT place, std::wstring name, SelectorParts& parts) {
    parts_ = &parts;
    name_ = std::move(name);
    return CreateOfClass({.className = L"TastolinkComboBox",
                          .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP,
                          .place = place,
                          .parent = parent,
                          .id = id,
                          .tracksHover = true,
                          .themeClass = L"COMBOBOX"});
}

std::wstring Selector::Text() const {
    HWND field = Field();
    return field ? WindowText(field) : text_;
}

void Selector::SetText(std::wstring_view text) {
    ShowText(text);
    position_.TextChanged(*entries_, text);
}

void Selector::SetEntries(Entries entries, Notes notes) {
    // A list that is down shows the entries it was dropped with: it goes before they do.
    if (parts_ && parts_->list.IsDroppedFor(*this)) parts_->list.Close();
    entries_ = std::move(entries);
    topEntry_ = 0;
    notes_ = std::move(notes);
    position_.TextChanged(*entries_, Text());
}

void Selector::ShowText(std::wstring_view text) {
    showingEntry_ = true;
    if (HWND field = Field())
        SetWindowTextW(field, std::wstring(text).c_str());
    else
        KeepText(std::wstring(text));
    showingEntry_ = false;
    accessible_.Raise(EVENT_OBJECT_VALUECHANGE);
}

void Selector::KeepText(std::wstring text) {
    // The field leaving keeps its selection, as an edit field that loses the focus does; a text the
    // program sets has the caret at its start.
    HWND field = Field();
    keptSelection_ = field ? static_cast<DWORD>(SendMessageW(field, EM_GETSEL, 0, 0)) : 0;
    text_ = std::move(text);
    // A window not yet shown paints everything once it shows.
    if (!IsWindowVisible(Handle())) return;
    const RECT area = FieldRect();
    InvalidateRect(Handle(), &area, FALSE);
}

void Selector::ShowEntry(int index) {
    if (index >= static_cast<int>(entries_->size())) index = EntryPosition::kNone;
    position_.Show(index);
    ShowText(index >= 0 ? (*entries_)[static_cast<std::size_t>(index)] : std::wstring_view());
    HWND field = Field();
    if (field && GetFocus() == field) Edit_SetSel(field, 0, -1);
}

int Selector::FindEntry(const std::wstring& text) const {
    if (text.empty()) return -1;
    return FindEntryFrom(*entries_, EntryPosition::kNone,
                         [&](std::wstring_view entry) { return BeginsWith(entry, text); });
}

int Selector::ShownOrMatchingEntry() const {
    return position_.Index() != EntryPosition::kNone ? position_.Index() : FindEntry(Text());
}

void Selector::Notify(WORD code) const {
    FORWARD_WM_COMMAND(GetParent(Handle()), GetDlgCtrlID(Handle()), Handle(), code, SendMessageW);
}

// Each step is the user's choice, made and ended at once, even one that stays at an end: the combo
// box tells it so.
void Selector::Step(int by) {
    const int next = position_.Stepped(by, static_cast<int>(entries_->size()));
    if (next == EntryPosition::kNone) return;
    ShowEntry(next);
    Notify(CBN_SELENDOK);
    Notify(CBN_SELCHANGE);
}

void Selector::KeysMovedTo(int index) {
    ShowEntry(index);
    Notify(CBN_SELCHANGE);
}

// A list closed by the keys that dropped it takes nothing: the keys that moved in it showed their
// entries as they went, and an entry the mouse only lit is not chosen.
void Selector::ToggleList() {
    SelectorList& list = parts_->list;
    if (list.IsDroppedFor(*this)) return list.Close();
    Notify(CBN_DROPDOWN);
    if (beforeDrop_) beforeDrop_();
    list.Drop(*this);
    if (list.IsDroppedFor(*this)) accessible_.Raise(EVENT_OBJECT_STATECHANGE);
}

void Selector::ListClosing(bool taken) { Notify(taken ? CBN_SELENDOK : CBN_SELENDCANCEL); }

void Selector::ListClosed(int chosen, bool clicked) {
    topEntry_ = parts_->list.TopEntry();
    const bool changed = chosen >= 0 && chosen != position_.Index();
    if (chosen >= 0) ShowEntry(chosen);
    accessible_.Raise(EVENT_OBJECT_STATECHANGE);
    Notify(CBN_CLOSEUP);
    if (clicked || changed) Notify(CBN_SELCHANGE);
}

bool Selector::OnFieldKey(WORD key, bool alt) {
    SelectorList& list = parts_->list;
    const bool upOrDown = key == VK_UP || key == VK_DOWN;
    if ((key == VK_F4 && !alt) || (alt && upOrDown)) {
        ToggleList();
        return true;
    }
    if (alt) return false;
    if (list.IsDroppedFor(*this)) {
        switch (key) {
            case VK_RETURN:
                list.Close(true);
                return true;
            case VK_ESCAPE:
                list.Close();
                return true;
        }
        return list.MoveByKey(key);
    }
    if (!upOrDown) return false;
    Step(key == VK_DOWN ? 1 : -1);
    return true;
}

// The wheel scrolls a dropped list, and otherwise steps through the entries as Up and Down do.
void Selector::OnWheel(WPARAM wheel) {
    if (parts_->list.IsDroppedFor(*this))
        parts_->list.Scroll(wheel);
    else if (Field() && GetFocus() == Field())
        Step(GET_WHEEL_DELTA_WPARAM(wheel) > 0 ? -1 : 1);
}

// The parent hears of a typed character once, with the text completed.
void Selector::CompleteTyped() {
    HWND field = Field();
    if (!field) return;
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring typed = WindowText(field);
    // Typed in the middle, the text is left as it is; a completion stays within the text's limit.
    const int found = start == end && end == typed.size() ? FindEntry(typed) : EntryPosition::kNone;
    if (found != EntryPosition::kNone &&
        (textLimit_ == 0 || (*entries_)[static_cast<std::size_t>(found)].size() <= textLimit_)) {
        const std::wstring entry((*entries_)[static_cast<std::size_t>(found)]);
        showingEntry_ = true;
        SetWindowTextW(field, entry.c_str());
        showingEntry_ = false;
        position_.Show(found);
        Edit_SetSel(field, typed.size(), entry.size());
        if (parts_->list.IsDroppedFor(*this)) parts_->list.Highlight(found);
    }
    if (std::exchange(changedWhileTyping_, false)) {
        Notify(CBN_EDITUPDATE);
        Notify(CBN_EDITCHANGE);
    }
}

void Selector::OnFieldEvent(WORD event) {
    SelectorList& list = parts_->list;
    switch (event) {
        case EN_SETFOCUS:
            // A combo box selects the whole text whenever its field gets the focus.
            Edit_SetSel(Field(), 0, -1);
            accessible_.Raise(EVENT_OBJECT_FOCUS);
            Notify(CBN_SETFOCUS);
            break;
        case EN_KILLFOCUS:
            // The combo box ends a choice as its focus leaves, whether its list is down or not.
            if (list.IsDroppedFor(*this))
                list.Close();
            else
                Notify(CBN_SELENDCANCEL);
            Notify(CBN_KILLFOCUS);
            break;
        case EN_UPDATE:
            if (!showingEntry_ && !parts_->field.Typing()) Notify(CBN_EDITUPDATE);
            break;
        case EN_CHANGE:
            if (showingEntry_) break;
            // The user's own edit: the entry shown before is forgotten.
            position_.TextChanged(*entries_, Text());
            accessible_.Raise(EVENT_OBJECT_VALUECHANGE);
            // What is typed while the list is open moves its highlight, as Enter then takes it.
            if (list.IsDroppedFor(*this)) list.Highlight(FindEntry(Text()));
            if (parts_->field.Typing())
                changedWhileTyping_ = true;
            else
                Notify(CBN_EDITCHANGE);
            break;
    }
}

HWND Selector::MakeField(RECT place, int id) const {
    return AddControl({.windowClass = WC_EDITW, .style = ES_LEFT | ES_AUTOHSCROLL, .id = id, .place = place});
}

bool Selector::TakeField() {
    if (!parts_->field.MoveInto(*this, FieldRect(), Font(), text_)) return false;
    Edit_LimitText(Field(), textLimit_);
    return true;
}

// The frame as a combo box draws it: a sunken edge, the button at the right, and a padding in
// the field's colour around the field.
RECT Selector::ButtonRect() const {
    RECT client;
    GetClientRect(Handle(), &client);
    InflateRect(&client, -kBorder, -kBorder);
    client.left = std::max(client.left, client.right - GetSystemMetricsForDpi(SM_CXVSCROLL, Dpi()));
    return client;
}

int Selector::FieldAreaHeight() const {
    RECT client;
    GetClientRect(Handle(), &client);
    return client.bottom - client.top - 2 * kBorder;
}

RECT Selector::FieldRect() const {
    RECT field;
    GetClientRect(Handle(), &field);
    InflateRect(&field, -kBorder - kPadding, -kBorder - kPadding);
    field.right = std::max(field.left, ButtonRect().left - kPadding);
    return field;
}

void Selector::Paint(HDC dc) {
    RECT frame;
    GetClientRect(Handle(), &frame);
    const RECT button = ButtonRect();
    if (HTHEME theme = Theme()) {
        DrawThemeBackground(theme, dc, 0, CBXS_NORMAL, &frame, nullptr);
        const int state = buttonDown_ ? CBXS_PRESSED : Hot() ? CBXS_HOT : CBXS_NORMAL;
        DrawThemeBackground(theme, dc, CP_DROPDOWNBUTTON, state, &button, nullptr);
    } else {
        DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
        DrawFrameControl(dc, const_cast<RECT*>(&button), DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (buttonDown_ ? DFCS_PUSHED : 0));
        RECT padding = FieldRect();
        InflateRect(&padding, kPadding, kPadding);
        FrameRect(dc, &padding, GetSysColorBrush(COLOR_WINDOW));
    }
    if (!Field()) PaintText(dc);
}

// As the edit field shows it, from its first character, in the colours the parent gives an edit.
void Selector::PaintText(HDC dc) {
    const RECT area = FieldRect();
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(Handle()), WM_CTLCOLOREDIT,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(Handle())));
    FillRect(dc, &area, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    const HGDIOBJ oldFont = SelectObject(dc, Font() ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, area.left, area.top, ETO_CLIPPED, &area, text_.data(), static_cast<UINT>(text_.size()),
                nullptr);
    SelectObject(dc, oldFont);
}

void Selector::OnButtonDown(LPARAM point) {
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const RECT button = ButtonRect();
    if (!Field() || GetFocus() != Field()) SetFocus(Handle());  // brings the field here
    HWND field = Field();
    if (!PtInRect(&button, at)) {
        // A click into the text places the caret there, as in the field itself.
        if (field) {
            MapWindowPoints(Handle(), field, &at, 1);
            SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }
        return;
    }
    if (parts_->list.IsDroppedFor(*this)) return parts_->list.Close();
    SetCapture(Handle());
    SetButtonPressed(true);
    ToggleList();
}

// The edit field's own menu (Undo, Cut, Copy, Paste, Delete, Select all), for this selector
// even when the field was elsewhere.
void Selector::OnContextMenu(LPARAM point) {
    if (!Field() || GetFocus() != Field()) SetFocus(Handle());
    if (HWND field = Field()) SendMessageW(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), point);
}

// The button shows itself pressed while the mouse holds it, and lit while the mouse is over the
// selector.
void Selector::SetButtonPressed(bool pressed) {
    if (pressed == buttonDown_) return;
    buttonDown_ = pressed;
    OnHotChanged();
}

void Selector::OnHotChanged() {
    const RECT button = ButtonRect();
    InvalidateRect(Handle(), &button, FALSE);
}

long Selector::State() const {
    HWND field = Field();
    const bool focused = field && GetFocus() == field;
    return STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0) |
           (parts_->list.IsDroppedFor(*this) ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED);
}

std::wstring Selector::ChoiceName(long index) const {
    return index >= 0 && static_cast<std::size_t>(index) < entries_->size()
               ? std::wstring((*entries_)[static_cast<std::size_t>(index)])
               : std::wstring();
}

void Selector::Choose(long index) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_->size()) return;
    ShowEntry(static_cast<int>(index));
    Notify(CBN_SELCHANGE);
}

std::wstring Selector::DefaultAction() const { return parts_->list.IsDroppedFor(*this) ? kClose : kOpen; }

LRESULT Selector::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; parts_ && AnswerComboMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_SIZE:
            if (HWND field = Field()) {
                const RECT area = FieldRect();
                MoveWindow(field, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
            }
            return 0;
        case WM_MOVE:
            // Moved with its window's layout (a new dpi): a list would be left behind.
            if (parts_->list.IsDroppedFor(*this)) parts_->list.Close();
            return 0;
        case WM_SETFONT:
            if (HWND field = Field()) SetWindowFont(field, Font(), lParam);
            break;
        case WM_SETTEXT:
            if (!parts_) break;  // the caption given at creation
            SetText(reinterpret_cast<const wchar_t*>(lParam) ? reinterpret_cast<const wchar_t*>(lParam)
                                                             : L"");
            return TRUE;
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            if (HWND field = Field()) return SendMessageW(field, message, wParam, lParam);
            if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text_.size());
            if (wParam == 0) return 0;
            {
                const std::size_t copied = std::min(text_.size(), static_cast<std::size_t>(wParam) - 1);
                std::copy_n(text_.data(), copied, reinterpret_cast<wchar_t*>(lParam));
                reinterpret_cast<wchar_t*>(lParam)[copied] = L'\0';
                return static_cast<LRESULT>(copied);
            }
        case WM_SETFOCUS:
            if (TakeField()) SetFocus(Field());
            return 0;
        case WM_COMMAND:
            // The field tells the selector it was made in, wherever it has moved since.
            if (reinterpret_cast<HWND>(lParam) == parts_->field.Handle())
                if (SelectorFieldOwner* owner = parts_->field.Owner()) owner->OnFieldEvent(HIWORD(wParam));
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return SendMessageW(GetParent(Handle()), message, wParam, lParam);
        case WM_ERASEBKGND:
            return 1;  // Paint covers every pixel the field leaves
        case WM_PAINT:
            return PaintWith([this](HDC dc) { Paint(dc); });
        case WM_LBUTTONDOWN:
            OnButtonDown(lParam);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() != Handle()) return 0;
            ReleaseCapture();
            parts_->list.ButtonReleasedAt(Handle(), lParam);
            return 0;
        case WM_CAPTURECHANGED:
            SetButtonPressed(false);
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == Handle()) parts_->list.ButtonHeldAt(Handle(), lParam);
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(lParam);
            return 0;
        case WM_MOUSEWHEEL:
            OnWheel(wParam);
            return 0;
        case WM_GETOBJECT:
            if (LRESULT answer = accessible_.Answer(wParam, lParam)) return answer;
            break;
        case WM_DESTROY:
            if (parts_->list.IsDroppedFor(*this)) parts_->list.Close();
            parts_->field.Forget(*this);
            accessible_.Disconnect();
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tastolink
