#include "app/selector.h"

#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

#include <algorithm>

namespace tastolink {
namespace {

constexpr int kBorder = 2;   // the sunken edge
constexpr int kPadding = 1;  // between the edge and the field

bool BeginsWith(const std::wstring& entry, const std::wstring& text) {
    return entry.size() >= text.size() &&
           CompareStringOrdinal(entry.data(), static_cast<int>(text.size()), text.data(),
                                static_cast<int>(text.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

// The window outlives this object when the object goes first: let go of what the selectors
// share while the object is still whole.
Selector::~Selector() {
    if (!parts_) return;
    if (parts_->list.IsDroppedFor(*this)) parts_->list.Close();
    parts_->field.Forget(*this);
}

bool Selector::Create(HWND parent, int id, RECT place, SelectorParts& parts) {
    parts_ = &parts;
    return CreateOfClass({L"TastolinkSelector", nullptr}, 0, L"",
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP, place,
                         parent, id);
}

std::wstring Selector::Text() const {
    HWND field = Field();
    return field ? WindowText(field) : text_;
}

void Selector::SetText(const std::wstring& text) {
    if (HWND field = Field()) {
        SetWindowTextW(field, text.c_str());
        return;
    }
    KeepText(text);
}

void Selector::KeepText(std::wstring text) {
    text_ = std::move(text);
    // A window not yet shown paints everything once it shows.
    if (!IsWindowVisible(Handle())) return;
    const RECT area = FieldRect();
    InvalidateRect(Handle(), &area, FALSE);
}

int Selector::FindEntry(const std::wstring& text) const {
    if (text.empty()) return -1;
    const auto found = std::find_if(entries_->begin(), entries_->end(),
                                    [&](const std::wstring& entry) { return BeginsWith(entry, text); });
    return found == entries_->end() ? -1 : static_cast<int>(found - entries_->begin());
}

void Selector::ShowEntry(int index) {
    showingEntry_ = true;
    SetText((*entries_)[static_cast<std::size_t>(index)]);
    showingEntry_ = false;
    HWND field = Field();
    if (field && GetFocus() == field) Edit_SetSel(field, 0, -1);
}

bool Selector::OnFieldKey(WORD key, bool alt) {
    SelectorList& list = parts_->list;
    const bool dropped = list.IsDroppedFor(*this);
    const bool upOrDown = key == VK_UP || key == VK_DOWN;
    if ((key == VK_F4 && !alt) || (alt && upOrDown)) {
        if (dropped)
            list.Close(true);
        else
            list.Drop(*this);
        return true;
    }
    if (alt) return false;
    if (dropped) {
        switch (key) {
            case VK_RETURN:
                list.Close(true);
                return true;
            case VK_ESCAPE:
                list.Close();
                return true;
            case VK_UP:
            case VK_DOWN:
                list.Step(key == VK_DOWN ? 1 : -1);
                return true;
        }
        return false;
    }
    if (!upOrDown) return false;
    if (!entries_->empty()) {
        const int at = FindEntry(Text());
        const int last = static_cast<int>(entries_->size()) - 1;
        ShowEntry(at < 0 ? 0 : std::clamp(at + (key == VK_DOWN ? 1 : -1), 0, last));
    }
    return true;
}

void Selector::CompleteTyped() {
    HWND field = Field();
    if (!field) return;
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::wstring typed = WindowText(field);
    if (start != end || end != typed.size()) return;  // typed in the middle: left as it is
    const int found = FindEntry(typed);
    if (found < 0) return;
    const std::wstring& entry = (*entries_)[static_cast<std::size_t>(found)];
    SetWindowTextW(field, entry.c_str());
    Edit_SetSel(field, typed.size(), entry.size());
}

bool Selector::TakeField() { return parts_->field.MoveInto(*this, FieldRect(), font_, text_); }

// The frame as a combo box draws it: a sunken edge, the button at the right, and a padding in
// the field's colour around the field.
RECT Selector::ButtonRect() const {
    RECT client;
    GetClientRect(Handle(), &client);
    InflateRect(&client, -kBorder, -kBorder);
    client.left = std::max(client.left, client.right - GetSystemMetricsForDpi(SM_CXVSCROLL, Dpi()));
    return client;
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
    if (HTHEME theme = OpenThemeData(Handle(), L"COMBOBOX")) {
        DrawThemeBackground(theme, dc, 0, CBXS_NORMAL, &frame, nullptr);
        const int state = buttonDown_ ? CBXS_PRESSED : hot_ ? CBXS_HOT : CBXS_NORMAL;
        DrawThemeBackground(theme, dc, CP_DROPDOWNBUTTON, state, &button, nullptr);
        CloseThemeData(theme);
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
    const HGDIOBJ oldFont = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutW(dc, area.left, area.top, ETO_CLIPPED, &area, text_.data(), static_cast<UINT>(text_.size()),
                nullptr);
    SelectObject(dc, oldFont);
}

void Selector::OnFieldEvent(WORD event) {
    SelectorList& list = parts_->list;
    switch (event) {
        case EN_SETFOCUS:
            // A combo box selects the whole text whenever its field gets the focus.
            Edit_SetSel(Field(), 0, -1);
            break;
        case EN_KILLFOCUS:
            if (list.IsDroppedFor(*this)) list.Close();
            break;
        case EN_CHANGE:
            // What is typed while the list is open moves its highlight, as Enter then takes it.
            if (!showingEntry_ && list.IsDroppedFor(*this)) list.Highlight(FindEntry(Text()));
            break;
    }
}

void Selector::OnButtonDown(LPARAM point) {
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const RECT button = ButtonRect();
    const bool onButton = PtInRect(&button, at);
    SelectorList& list = parts_->list;
    const bool wasDropped = list.IsDroppedFor(*this);
    if (!Field() || GetFocus() != Field()) SetFocus(Handle());  // brings the field here
    HWND field = Field();
    if (!onButton) {
        // A click into the text places the caret there, as in the field itself.
        if (field) {
            MapWindowPoints(Handle(), field, &at, 1);
            SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }
        return;
    }
    if (wasDropped)
        list.Close();
    else
        list.Drop(*this);
    SetCapture(Handle());
    SetButtonLook(true, hot_);
}

// The button shows itself pressed while the mouse holds it, and lit while the mouse is over the
// selector.
void Selector::SetButtonLook(bool pressed, bool hot) {
    if (pressed == buttonDown_ && hot == hot_) return;
    buttonDown_ = pressed;
    hot_ = hot;
    const RECT button = ButtonRect();
    InvalidateRect(Handle(), &button, FALSE);
}

LRESULT Selector::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (HWND field = Field()) {
                const RECT area = FieldRect();
                MoveWindow(field, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
            }
            return 0;
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (HWND field = Field()) SetWindowFont(field, font_, lParam);
            if (lParam) InvalidateRect(Handle(), nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
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
                if (Selector* owner = parts_->field.Owner()) owner->OnFieldEvent(HIWORD(wParam));
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
            // Pressed on the button and let go over an entry: that entry is taken.
            parts_->list.PointedFrom(Handle(), lParam, true);
            return 0;
        case WM_CAPTURECHANGED:
            SetButtonLook(false, hot_);
            return 0;
        case WM_MOUSEMOVE:
            if (GetCapture() == Handle()) parts_->list.PointedFrom(Handle(), lParam, false);
            if (!hot_) {
                TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, Handle(), 0};
                TrackMouseEvent(&leave);
                SetButtonLook(buttonDown_, true);
            }
            return 0;
        case WM_MOUSELEAVE:
            SetButtonLook(buttonDown_, false);
            return 0;
        case WM_MOUSEWHEEL:
            // The wheel scrolls a dropped list, and otherwise steps through the entries as Up and Down do.
            if (parts_->list.IsDroppedFor(*this))
                parts_->list.Scroll(wParam);
            else if (Field() && GetFocus() == Field())
                OnFieldKey(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN, false);
            return 0;
        case WM_DESTROY:
            if (parts_->list.IsDroppedFor(*this)) parts_->list.Close();
            parts_->field.Forget(*this);
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tastolink
