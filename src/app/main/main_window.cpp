#include "app/main/main_window.h"

#include <commctrl.h>
#include <dbt.h>
#include <windowsx.h>

#include <algorithm>

#include "app/main/author_window.h"
#include "app/main/select_on_focus.h"
#include "app/res/resource_ids.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// No WS_CLIPCHILDREN: group boxes paint only their frame, and the window fills what lies inside them.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExtendedStyle = WS_EX_CONTROLPARENT;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr char kLongPressTip[] = "Правая кнопка мыши: долгое нажатие (2 с)";
// A port waited for is tried again this often: opening a port that is not there returns at once.
constexpr UINT kRetryMs = 1000;

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

// The window's outer size for the client area of the layout at `dpi`, with the menu bar, and
// with a status bar of `barHeight` below the layout.
SIZE FrameSize(UINT dpi, int barHeight = 0) {
    RECT frame{0, 0, MulDiv(kClientWidth, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI),
               MulDiv(kClientHeight, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI) + barHeight};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, kWindowExtendedStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

const PanelLayout* GroupOf(Panel panel) {
    for (const PanelLayout& group : kGroupBoxes)
        if (group.panel == panel) return &group;
    return nullptr;
}

Box InPanel(Panel panel, Box box) {
    if (const PanelLayout* group = GroupOf(panel))
        return {group->box.left + box.left, group->box.top + box.top, box.width, box.height};
    return box;
}

std::string_view PanelCaption(Panel panel) {
    const PanelLayout* group = GroupOf(panel);
    return group ? group->caption : std::string_view();
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services)
    : services_(services),
      answers_(services.ports, services.files),
      portWatch_(services.files),
      channel_(answers_.Ports(),
               [this](const std::string& text) { services_.messages.ShowSimpleMessage(Handle(), text); }),
      mappings_(services.files),
      interval_(services.files, repeatTimer_) {}

bool MainWindow::Create(int showCommand, std::optional<UnattendedRun> unattended) {
    unattended_ = std::move(unattended);
    // Made at its final size and place for the primary monitor's dpi: moving a top-level
    // window costs Wine a trip to the X server. A window made larger than the screen allows
    // would be cut to it, where a move is not; such a window, and one on a monitor of another
    // dpi, is sized and centred once it exists.
    const UINT primaryDpi = GetDpiForSystem();
    const SIZE wanted = FrameSize(primaryDpi);
    const bool fits =
        wanted.cx <= GetSystemMetrics(SM_CXMAXTRACK) && wanted.cy <= GetSystemMetrics(SM_CYMAXTRACK);
    const RECT place = fits ? CentredOn(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), wanted) : RECT{};
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TASTOLINK));
    if (!CreateOfClass({.className = L"TastolinkMainWindow",
                        .style = kWindowStyle,
                        .extendedStyle = kWindowExtendedStyle,
                        .caption = L"Tastolink",
                        .place = place,
                        .background = GetSysColorBrush(COLOR_BTNFACE),
                        .icon = icon}))
        return false;
    BuildMenu();
    if (!fits || Dpi() != primaryDpi) {
        const SIZE frame = FrameSize(Dpi());
        SetWindowPos(Handle(), nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CentreOnMonitor();
    }
    // Every control is made at its final place, for this window's dpi, while the window is
    // hidden: moving controls afterwards costs each of their siblings a repaint.
    SetOwnFont(CreateUiFont(Dpi()));
    if (!Font()) ReportStartupProblem("Не удалось создать шрифт окна");
    BuildControls();
    answers_.Attach(Handle());
    CheckMenuItem(GetMenu(Handle()), kMenuAnswers, answers_.On() ? MF_CHECKED : MF_UNCHECKED);
    portWatch_.Load(Handle());
    channel_.SetWatching(portWatch_.On());
    CheckMenuItem(GetMenu(Handle()), kMenuWatchPorts, portWatch_.On() ? MF_CHECKED : MF_UNCHECKED);
    UpdateStatusBar();

    // The repeat timer ticks from the moment the window exists; with no key held a tick does nothing.
    if (!repeatTimer_.Start(RepeatIntervalSetting::kInitialPeriod))
        ReportStartupProblem(kNotEnoughTimers.data());
    FormCreate();

    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
    SetFocus(Control(kEdit1));
    // A popup of its own, which Wine backs with an X window: made once the window shows.
    AddKeypadTooltips();
    if (!startupProblems_.empty()) services_.messages.ShowError(Handle(), startupProblems_);
    if (unattended_) StartUnattendedRun();
    return true;
}

void MainWindow::ReportStartupProblem(const char* what) {
    if (!startupProblems_.empty()) startupProblems_ += "; ";
    startupProblems_ += what;
}

HWND MainWindow::AddLaidOutControl(const wchar_t* windowClass, std::string_view text, DWORD style, int id,
                                   Box box, DWORD extendedStyle) {
    const std::wstring caption = WideFromUtf8(text);
    HWND control = AddControl({.windowClass = windowClass,
                               .text = caption.c_str(),
                               .style = WS_CLIPSIBLINGS | style,
                               .id = id,
                               .place = ScaledRect(box),
                               .extendedStyle = extendedStyle});
    if (!control) {
        ReportStartupProblem("Не удалось создать элемент окна");
        return nullptr;
    }
    placements_.push_back({control, box});
    return control;
}

void MainWindow::AddSelector(int number, Box box, std::wstring name) {
    Selector& selector = selectors_[number];
    box.height = kSelectorHeight;
    if (!selector.Create(Handle(), ComboBoxId(number), ScaledRect(box), std::move(name), selectorParts_)) {
        ReportStartupProblem("Не удалось создать элемент окна");
        return;
    }
    SetWindowFont(selector.Handle(), Font(), FALSE);
    placements_.push_back({selector.Handle(), box});
}

void MainWindow::BuildControls() {
    // Creation order is tab order; group boxes come last so that they lie beneath their contents.
    const DWORD editStyle = WS_TABSTOP | ES_AUTOHSCROLL;
    HWND focusField =
        AddLaidOutControl(WC_EDITW, kFocusField.text, editStyle, kEdit1, kFocusField.box, WS_EX_CLIENTEDGE);
    SelectWholeTextOnFocus(focusField);

    for (int number : kSelectorTabOrder) {
        int row = 0;
        while (kPhoneKeyTable[row].mainSelector != number && kPhoneKeyTable[row].altSelector != number) ++row;
        const bool main = kPhoneKeyTable[row].mainSelector == number;
        const ColumnHeader& column = kColumnHeaders[main ? 0 : 1];
        AddSelector(
            number, InPanel(Panel::Settings, {column.left, kRowTop + kRowPitch * row, kSelectorWidth, 0}),
            WideFromUtf8(std::string(RowName(kPhoneKeyTable[row])) + ", " + std::string(column.spoken)));
    }
    // As the window is built, the first two selectors offer one empty entry and the others none.
    const auto oneEmptyEntry = std::make_shared<const std::vector<std::wstring>>(1);
    selectors_[1].SetEntries(oneEmptyEntry);
    selectors_[2].SetEntries(oneEmptyEntry);

    for (const ControlLayout& item : kPanelControls) {
        const Box box = InPanel(item.panel, item.box);
        switch (item.kind) {
            case ControlKind::Edit:
                SelectWholeTextOnFocus(
                    AddLaidOutControl(WC_EDITW, item.text, editStyle, item.id, box, WS_EX_CLIENTEDGE));
                break;
            case ControlKind::PushButton:
                AddLaidOutControl(WC_BUTTONW, item.text, WS_TABSTOP | BS_PUSHBUTTON, item.id, box);
                break;
            case ControlKind::PortSelector: {
                AddSelector(kPortSelectorNumber, box, WideFromUtf8(PanelCaption(Panel::Port)));
                Selector& ports = selectors_[kPortSelectorNumber];
                portWatch_.FillPortSelector(ports);
                if (ports.Handle()) ports.SetText(ports.EntryList().front());
                ports.SetBeforeDrop([this, &ports] {
                    if (portWatch_.On()) portWatch_.FillPortSelector(ports);
                });
                break;
            }
            case ControlKind::BlueLabel:
                AddLaidOutControl(WC_STATICW, item.text, SS_LEFTNOWORDWRAP | SS_NOPREFIX, item.id, box);
                break;
        }
    }

    for (int row = 0; row < kPhoneKeyCount; ++row) {
        const PhoneKey& key = kPhoneKeyTable[row];
        std::string_view caption = key.caption;
        if (const int resource = PictureResource(key.picture)) {
            pictures_[row].Reset(
                static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            // Without its picture the button shows its key code rather than nothing.
            if (!pictures_[row].Get()) {
                ReportStartupProblem("Не удалось загрузить картинку кнопки");
                caption = key.code;
            }
        }
        const Box box = InPanel(Panel::Keypad, {key.left, key.top, kKeypadButtonSize, kKeypadButtonSize});
        if (!keypad_[row].Create(Handle(), SpeedButtonId(key.keypadButton), WideFromUtf8(caption).c_str(),
                                 pictures_[row].Get(), KeypadButton::Look::Raised, ScaledRect(box),
                                 WideFromUtf8(RowName(key)))) {
            ReportStartupProblem("Не удалось создать кнопку клавиатуры");
            continue;
        }
        SetWindowFont(keypad_[row].Handle(), Font(), FALSE);
        placements_.push_back({keypad_[row].Handle(), box});
    }

    for (const PanelLayout& group : kGroupBoxes)
        AddLaidOutControl(WC_BUTTONW, group.caption, BS_GROUPBOX, -1, group.box);
}

// The column headers and the row names, drawn by the window as a label shows its text: each
// would be a window of its own, and under Wine every window costs the start a little.
void MainWindow::PaintLabels(HDC dc) {
    const HGDIOBJ oldFont = SelectObject(dc, Font() ? Font() : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    auto draw = [&](std::string_view text, Box box, UINT format) {
        RECT at = ScaledRect(InPanel(Panel::Settings, box));
        DrawTextW(dc, WideFromUtf8(text).c_str(), -1, &at, DT_LEFT | DT_EXPANDTABS | format);
    };
    for (const ColumnHeader& header : kColumnHeaders)
        draw(header.text, {header.left, 16, header.width, kLabelHeight}, 0);
    for (int row = 0; row < kPhoneKeyCount; ++row)
        draw(kPhoneKeyTable[row].label,
             {kRowLabelLeft, kRowTop + kRowPitch * row + 4, kMainSelectorLeft - kRowLabelLeft, kLabelHeight},
             DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void MainWindow::BuildMenu() {
    HMENU bar = CreateMenu();
    HMENU popup = nullptr;
    std::string_view current;
    for (const MenuItem& item : kMenu) {
        if (!popup || item.menu != current) {
            popup = CreatePopupMenu();
            current = item.menu;
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), WideFromUtf8(item.menu).c_str());
        }
        if (item.id == kMenuSeparator)
            AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(popup, MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                        static_cast<UINT_PTR>(item.id), WideFromUtf8(item.item).c_str());
    }
    SetMenu(Handle(), bar);
}

// Places every control for a new dpi in one batch and gives the window its client size.
void MainWindow::ApplyLayout() {
    const GdiObject<HFONT> oldFont = SetOwnFont(CreateUiFont(Dpi()));  // deleted once no control uses it
    HDWP positions = BeginDeferWindowPos(static_cast<int>(placements_.size()));
    for (const Placement& placement : placements_) {
        SetWindowFont(placement.control, Font(), FALSE);
        const RECT at = ScaledRect(placement.box);
        if (positions)
            positions = DeferWindowPos(positions, placement.control, nullptr, at.left, at.top,
                                       at.right - at.left, at.bottom - at.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (positions) EndDeferWindowPos(positions);
    statusBar_.Remove();  // made again in the system's status font for the new dpi
    UpdateStatusBar();
    FitToLayout();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::FitToLayout() {
    statusBar_.Fit();
    const SIZE frame = FrameSize(Dpi(), statusBar_.Height());
    SetWindowPos(Handle(), nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::UpdateStatusBar() {
    const bool wanted = answers_.On() || portWatch_.On() || playback_.IsRunning();
    if (wanted && !statusBar_.Handle()) {
        // In the system's own status font, which has the arrow "→" that the window's raster font lacks.
        statusBar_.Attach(
            AddControl({.windowClass = STATUSCLASSNAMEW, .id = kStatusBarId, .systemFont = true}));
        FitToLayout();
    } else if (!wanted && statusBar_.Handle()) {
        statusBar_.Remove();
        FitToLayout();
    }
    ShowStatus();
}

void MainWindow::FollowWaiting() {
    if (channel_.Waiting())
        SetTimer(Handle(), kRetryTimer, kRetryMs, nullptr);
    else
        KillTimer(Handle(), kRetryTimer);
    ShowStatus();
}

// A device came or went: the ports the system has may have changed, the port chosen may have left
// or be back.
void MainWindow::OnDeviceChange(WPARAM event, LPARAM data) {
    if (!portWatch_.On()) return;
    portWatch_.FillPortSelector(selectors_[kPortSelectorNumber]);
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (event == DBT_DEVICEREMOVECOMPLETE && header && header->dbch_devicetype == DBT_DEVTYP_PORT)
        channel_.DeviceLeft(Utf8FromWide(reinterpret_cast<const DEV_BROADCAST_PORT_W*>(data)->dbcp_name));
    if (event == DBT_DEVICEARRIVAL) channel_.RetryWaiting();
    FollowWaiting();
}

// The answers' texts, with the watched port in the first part and a sequence's progress in the last.
void MainWindow::ShowStatus() {
    StatusBar::Texts texts = answers_.On() ? answers_.Texts() : StatusBar::Texts{};
    if (!channel_.WatchText().empty()) texts.front() = channel_.WatchText();
    if (const std::string playing = PlayingText(); !playing.empty()) texts.back() = playing;
    statusBar_.Show(texts);
}

// The keypad's right click holds a phone key: a tooltip on each button says so.
void MainWindow::AddKeypadTooltips() {
    if (!keypadTips_.Create(Handle())) return;
    for (const KeypadButton& button : keypad_)
        keypadTips_.AddTool(button.Handle(), WideFromUtf8(kLongPressTip));
}

void MainWindow::OnDpiChanged(const RECT& suggested) {
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyLayout();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer) Timer2Timer();
            if (wParam == PhoneAnswersView::kSilenceTimer) {
                answers_.Silence();
                ShowStatus();
            }
            if (wParam == kRetryTimer) {
                channel_.RetryWaiting();
                FollowWaiting();
            }
            return 0;
        case KeyPlayback::kDueMessage:
            OnPressDue(wParam, lParam);
            return 0;
        case PhoneAnswersView::kWakeMessage:
            if (answers_.TakeEvents()) channel_.PortLost();
            FollowWaiting();
            return 0;
        case WM_SIZE:
            statusBar_.Fit();
            return 0;
        case WM_DEVICECHANGE:
            OnDeviceChange(wParam, lParam);
            return TRUE;
        case WM_ACTIVATE:
            OnActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_ENTERMENULOOP:
        case WM_ENTERSIZEMOVE:
            // The menu and a drag run loops of their own that swallow key-ups: a key let go
            // meanwhile would stay held, so every key is let go now.
            heldKeys_.ReleaseAll();
            break;
        case WM_PAINT:
            return PaintWith([this](HDC dc) { PaintLabels(dc); });
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DPICHANGED:
            OnDpiChanged(*reinterpret_cast<RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            // An unattended run that ends closes even when the settings can't be saved: nobody is
            // there to try again.
            if (FormClose() || (unattended_ && unattended_->exitWhenDone)) DestroyWindow(Handle());
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends without WM_CLOSE: save now, the process is ended right after.
            if (wParam) FormClose();
            return 0;
        case WM_DESTROY:
            KillTimer(Handle(), kRepeatTimer);
            // A run closed before its file was played through has not written everything.
            if (unattended_ && playback_.IsRunning() && exitCode_ == kEverythingWritten)
                exitCode_ = PlayedCode();
            playback_.Stop();
            recording_.Stop();
            PostQuitMessage(exitCode_);
            return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void MainWindow::OnCommand(int id, WORD notification) {
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        if (id != SpeedButtonId(kPhoneKeyTable[row].keypadButton)) continue;
        if (notification == KeypadButton::kLongPress) return SpeedButtonLongPress(row);
        return SpeedButtonClick(row);
    }
    switch (id) {
        case kButton1:
            Button1Click();
            break;
        case kButton2:
            Button2Click();
            break;
        case kButton3:
            Button3Click();
            break;
        case kMenuExit:
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
            break;
        case kMenuDefaults:
            N4Click();
            break;
        case kMenuAuthor:
            AuthorClick();
            break;
        case kMenuAnswers:
            AnswersClick();
            break;
        case kMenuRecord:
            RecordClick();
            break;
        case kMenuPlay:
            PlayClick();
            break;
        case kMenuWatchPorts:
            WatchPortsClick();
            break;
    }
}

// A window that no longer sees key-ups can't tell when a key is let go: forget them all.
void MainWindow::OnActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) focusBeforeDeactivation_ = focus;
        heldKeys_.ReleaseAll();
        return;
    }
    HWND focus = focusBeforeDeactivation_ && IsWindow(focusBeforeDeactivation_) ? focusBeforeDeactivation_
                                                                                : Control(kEdit1);
    SetFocus(focus);
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
    LRESULT brush = Window::HandleMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(control));
    if (GetDlgCtrlID(control) == kLabel27) SetTextColor(dc, kBlue);
    return brush;
}

// Key-downs mark keys only through the window itself, the focus field and the selectors of the
// first rows; keys typed into a selector arrive at the shared edit field inside it.
bool MainWindow::MarksKeyDowns(HWND target) const {
    if (target == Handle() || target == Control(kEdit1)) return true;
    HWND owner = GetParent(target) == Handle() ? target : GetParent(target);
    for (int row = 0; row < kRowsWithKeyCapture; ++row)
        if (owner == ComboBox(kPhoneKeyTable[row].mainSelector).Handle() ||
            owner == ComboBox(kPhoneKeyTable[row].altSelector).Handle())
            return true;
    return false;
}

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) return false;
    const WORD key = LOWORD(message.wParam);
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (MarksKeyDowns(message.hwnd)) FormKeyDown(key);
            // Esc anywhere in the window ends a sequence playing.
            if (key == VK_ESCAPE && playback_.IsRunning()) StopPlaying();
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            // A key-up clears its key wherever it lands in the window, so no key stays held.
            FormKeyUp(key);
            break;
    }
    // Only Tab goes to the dialog manager: it would swallow Enter and Esc, which can be bound.
    if (message.message == WM_KEYDOWN && key == VK_TAB) return IsDialogMessageW(Handle(), &message) != FALSE;
    return false;
}

}  // namespace tastolink
