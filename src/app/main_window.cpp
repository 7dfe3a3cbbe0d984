#include "app/main_window.h"

#include <commctrl.h>

#include <exception>

#include "app/author_window.h"
#include "app/keypad_button.h"
#include "app/text_encoding.h"
#include "res/resource_ids.h"

namespace tastolink {
namespace {

constexpr wchar_t kClassName[] = L"TastolinkMainWindow";
constexpr wchar_t kCaption[] = L"Tastolink";
// No WS_CLIPCHILDREN: group boxes paint only their frame, and the window fills what lies inside them.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kBlue = RGB(0, 0, 255);

int PictureResource(KeypadPicture picture) {
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
    return 0;
}

Box PanelOrigin(Panel panel) {
    for (const PanelSpec& group : kGroupBoxes)
        if (group.panel == panel) return group.box;
    return {0, 0, 0, 0};
}

Box InPanel(Panel panel, Box box) {
    const Box origin = PanelOrigin(panel);
    return {origin.left + box.left, origin.top + box.top, box.width, box.height};
}

// Edit1 and Edit2 select their whole text when the focus arrives other than by a mouse click.
LRESULT CALLBACK SelectAllOnFocusProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR) {
    LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
    // Caret at the start, so that the beginning of a long hint stays in view.
    if (message == WM_SETFOCUS && !(GetKeyState(VK_LBUTTON) & 0x8000))
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(GetWindowTextLengthW(edit)), 0);
    return result;
}

bool IsComboBox(HWND window) {
    wchar_t className[16];
    return GetClassNameW(window, className, 16) && lstrcmpiW(className, L"ComboBox") == 0;
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services)
    : services_(services),
      answers_(services.ports, services.files, services.messages,
               [this](int row) { channel_.Press(LongPressCommand(kPhoneKeyTable[row])); }),
      channel_(answers_.Ports(), *this),
      mappings_(services.files),
      interval_(services.files, repeatTimer_) {}

MainWindow::~MainWindow() {
    if (window_) DestroyWindow(window_);
    for (HBITMAP picture : pictures_) DeleteObject(picture);
    if (font_) DeleteObject(font_);
}

bool MainWindow::Create(int showCommand) {
    WNDCLASSEXW windowClass{sizeof windowClass};
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(IDI_TASTOLINK));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kClassName;
        RegisterClassExW(&windowClass);
    }
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, kCaption, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!window_) return false;
    dpi_ = GetDpiForWindow(window_);
    BuildMenu();
    BuildControls();
    ApplyLayout();
    answers_.Attach(window_);

    // Centred on the screen when first shown.
    RECT frame;
    GetWindowRect(window_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // The repeat timer ticks from the moment the window exists; with no key held a tick does nothing.
    repeatTimer_.Start(RepeatIntervalSetting::kInitialPeriod);
    FormCreate();

    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    SetFocus(Control(kEdit1));
    return true;
}

HWND MainWindow::AddControl(const wchar_t* windowClass, std::string_view text, DWORD style, int id, Box box,
                             DWORD extendedStyle) {
    HWND control = CreateWindowExW(extendedStyle, windowClass, WideFromUtf8(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                                   0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    placements_.push_back({control, box});
    return control;
}

void MainWindow::BuildControls() {
    // Creation order is tab order; group boxes come last so that they lie beneath their contents.
    const DWORD editStyle = WS_TABSTOP | ES_AUTOHSCROLL | WS_CLIPSIBLINGS;
    const DWORD selectorStyle = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_CLIPSIBLINGS;

    HWND focusField = AddControl(WC_EDITW, kFocusField.text, editStyle, kEdit1, kFocusField.box, WS_EX_CLIENTEDGE);
    SetWindowSubclass(focusField, SelectAllOnFocusProc, 0, 0);

    for (int number : kSelectorTabOrder) {
        int row = 0;
        while (kPhoneKeyTable[row].mainSelector != number && kPhoneKeyTable[row].altSelector != number) ++row;
        const int left = kPhoneKeyTable[row].mainSelector == number ? kMainSelectorLeft : kAltSelectorLeft;
        comboBoxes_[number] = AddControl(
            WC_COMBOBOXW, "", selectorStyle, ComboBoxId(number),
            InPanel(Panel::Settings, {left, kRowTop + kRowPitch * row, kSelectorWidth, kDropDownHeight}));
    }
    // As the window is built, the first two selectors offer one empty entry and the others none.
    SendMessageW(comboBoxes_[1], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
    SendMessageW(comboBoxes_[2], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));

    for (const ControlSpec& item : kPanelControls) {
        const Box box = InPanel(item.panel, item.box);
        switch (item.kind) {
            case ControlKind::Edit: {
                HWND edit = AddControl(WC_EDITW, item.text, editStyle, item.id, box, WS_EX_CLIENTEDGE);
                SetWindowSubclass(edit, SelectAllOnFocusProc, 0, 0);
                break;
            }
            case ControlKind::PushButton:
                AddControl(WC_BUTTONW, item.text, WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS, item.id, box);
                break;
            case ControlKind::PortSelector: {
                HWND port = AddControl(WC_COMBOBOXW, "", selectorStyle, item.id,
                                       {box.left, box.top, box.width, kDropDownHeight});
                comboBoxes_[kPortSelector] = port;
                for (std::string_view name : kPortNames)
                    SendMessageW(port, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(name).c_str()));
                SendMessageW(port, CB_SETCURSEL, 0, 0);
                break;
            }
            case ControlKind::Label:
            case ControlKind::BlueLabel:
                AddControl(WC_STATICW, item.text, SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_CLIPSIBLINGS, item.id, box);
                break;
        }
    }

    for (const ColumnHeader& header : kColumnHeaders)
        AddControl(WC_STATICW, header.text, SS_LEFTNOWORDWRAP | WS_CLIPSIBLINGS, -1,
                   InPanel(Panel::Settings, {header.left, 16, header.width, kLabelHeight}));
    for (int row = 0; row < kPhoneKeyCount; ++row)
        AddControl(WC_STATICW, kPhoneKeyTable[row].label, SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_CLIPSIBLINGS, -1,
                   InPanel(Panel::Settings, {kRowLabelLeft, kRowTop + kRowPitch * row + 4,
                                             kMainSelectorLeft - kRowLabelLeft, kLabelHeight}));

    for (const PhoneKey& key : kPhoneKeyTable) {
        HBITMAP picture = nullptr;
        if (int resource = PictureResource(key.picture)) {
            picture = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
            pictures_.push_back(picture);
        }
        HWND button = CreateKeypadButton(window_, SpeedButtonId(key.keypadButton),
                                         WideFromUtf8(key.caption).c_str(), picture, KeypadButtonLook::Raised);
        placements_.push_back(
            {button, InPanel(Panel::Keypad, {key.left, key.top, kKeypadButtonSize, kKeypadButtonSize})});
    }

    for (const PanelSpec& group : kGroupBoxes)
        AddControl(WC_BUTTONW, group.caption, BS_GROUPBOX | WS_CLIPSIBLINGS, -1, group.box);
}

void MainWindow::BuildMenu() {
    HMENU bar = CreateMenu();
    HMENU popup = nullptr;
    std::string_view current;
    for (const MenuItemSpec& item : kMenu) {
        if (!popup || item.menu != current) {
            popup = CreatePopupMenu();
            current = item.menu;
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), WideFromUtf8(item.menu).c_str());
        }
        AppendMenuW(popup, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(item.id),
                    WideFromUtf8(item.item).c_str());
    }
    SetMenu(window_, bar);
}

int MainWindow::Scaled(int value) const { return MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }

// Places every control for the current dpi and gives the window its client size.
void MainWindow::ApplyLayout() {
    HFONT oldFont = font_;
    font_ = CreateFontW(-MulDiv(kFontPoints, static_cast<int>(dpi_), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, std::wstring(kFontFace).c_str());
    HDWP positions = BeginDeferWindowPos(static_cast<int>(placements_.size()));
    for (const Placement& placement : placements_) {
        SendMessageW(placement.control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        positions = DeferWindowPos(positions, placement.control, nullptr, Scaled(placement.box.left),
                                   Scaled(placement.box.top), Scaled(placement.box.width),
                                   Scaled(placement.box.height), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EndDeferWindowPos(positions);
    // The selection fields take their height from the font; keep them at the row height.
    for (int number = 1; number < static_cast<int>(comboBoxes_.size()); ++number)
        if (comboBoxes_[number])
            SendMessageW(comboBoxes_[number], CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         Scaled(kSelectorHeight) - 6);
    if (oldFont) DeleteObject(oldFont);

    RECT frame{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, WS_EX_CONTROLPARENT, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyLayout();
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (answers_.HandleMessage(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer) Timer2Timer();
            return 0;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            if (FormClose()) DestroyWindow(window_);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends without WM_CLOSE: save now, the process is ended right after.
            if (wParam) FormClose();
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kRepeatTimer);
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::OnCommand(int id) {
    if (id > kSpeedButtonIdBase && id <= kSpeedButtonIdBase + kPhoneKeyCount) {
        const int row = RowOfKeypadButton(id - kSpeedButtonIdBase);
        if (row >= 0) SpeedButtonClick(row);
        return;
    }
    switch (id) {
        case kButton1: Button1Click(); break;
        case kButton2: Button2Click(); break;
        case kButton3: Button3Click(); break;
        case kMenuExit: PostMessageW(window_, WM_CLOSE, 0, 0); break;
        case kMenuDefaults: N4Click(); break;
        case kMenuAuthor: AuthorClick(); break;
    }
}

// A window that no longer sees key-ups can't tell when a key is let go: forget them all.
void MainWindow::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focusBeforeDeactivation_ = focus;
        heldKeys_.ReleaseAll();
        return;
    }
    HWND focus = focusBeforeDeactivation_ && IsWindow(focusBeforeDeactivation_) ? focusBeforeDeactivation_
                                                                                : Control(kEdit1);
    SetFocus(focus);
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
    LRESULT brush = DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(control));
    if (GetDlgCtrlID(control) == kLabel27) SetTextColor(dc, kBlue);
    return brush;
}

KeySource MainWindow::SourceOf(HWND target) const {
    if (target == window_) return KeySource::MainWindow;
    if (target == Control(kEdit1)) return KeySource::FocusField;
    // Keys typed into a selector arrive at the edit inside the combo box.
    HWND owner = IsComboBox(GetParent(target)) ? GetParent(target) : target;
    for (int row = 0; row < kRowsWithKeyCapture; ++row)
        if (owner == comboBoxes_[kPhoneKeyTable[row].mainSelector] ||
            owner == comboBoxes_[kPhoneKeyTable[row].altSelector])
            return KeySource::CapturingSelector;
    return KeySource::OtherControl;
}

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    const WORD key = LOWORD(message.wParam);
    const KeyRoute route = RouteOf(SourceOf(message.hwnd));
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (route.marksOnKeyDown) FormKeyDown(key);
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (route.clearsOnKeyUp) FormKeyUp(key);
            break;
    }
    // Only Tab goes to the dialog manager: it would swallow Enter and Esc, which can be bound.
    if (message.message == WM_KEYDOWN && key == VK_TAB) return IsDialogMessageW(window_, &message) != FALSE;
    return false;
}

}  // namespace tastolink
