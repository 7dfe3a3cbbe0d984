#include "app/main/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "app/main/author_window.h"
#include "app/main/select_on_focus.h"
#include "app/main/settings_labels.h"
#include "app/res/resource_ids.h"
#include "app/window/message_ids.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// No WS_CLIPCHILDREN: group boxes paint only their frame, and the window fills what lies inside them.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExtendedStyle = WS_EX_CONTROLPARENT;
constexpr COLORREF kBlue = RGB(0, 0, 255);
// The window's outer size for the client area of the layout at `dpi`, with the menu bar, and
// with a status bar of `barHeight` below the layout.
SIZE FrameSize(UINT dpi, int barHeight = 0) {
    RECT frame{0, 0, MulDiv(kClientWidth, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI),
               MulDiv(kClientHeight, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI) + barHeight};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, TRUE, kWindowExtendedStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services)
    : services_(services),
      phone_(services.ports),
      profiles_(services.files, [this](const PhoneProfile& profile) { keypad_.Follow(profile); }),
      phoneDialog_(profiles_, phone_.Phone()),
      answers_(phone_, status_, services.files),
      events_(phone_, profiles_, status_, services.files, [this] { answers_.TurnOn(); }),
      portWatch_(phone_, services.files),
      player_(phone_, status_, services.messages),
      sequences_(phone_, player_, events_.PhoneKeys(), services.files, services.messages),
      typing_(player_, profiles_, services.messages),
      unattended_(profiles_, sequences_, typing_, services.messages),
      mappings_(services.files),
      interval_(services.files, repeatTimer_) {
    phone_.Phone().AddListener(*this);
}

MainWindow::~MainWindow() {
    Destroy();
    phone_.Phone().RemoveListener(*this);
}

bool MainWindow::Create(int showCommand, std::optional<UnattendedRun> unattended) {
    if (!CreateCentred({.className = L"TastolinkMainWindow",
                        .style = kWindowStyle,
                        .extendedStyle = kWindowExtendedStyle,
                        .caption = L"Tastolink",
                        .background = GetSysColorBrush(COLOR_BTNFACE),
                        .icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TASTOLINK))},
                       [](UINT dpi) { return FrameSize(dpi); }))
        return false;
    SetMenu(Handle(), MakeMenuBar(kMenu));
    // Every control is made at its final place, for this window's dpi, while the window is
    // hidden: moving controls afterwards costs each of their siblings a repaint.
    SetOwnFont(CreateUiFont(Dpi()));
    if (!Font()) ReportStartupProblem("Не удалось создать шрифт окна");
    BuildControls();
    status_.Attach(Handle());
    phone_.Attach(Handle());
    player_.Attach(Handle());
    sequences_.Attach(Handle());
    typing_.Attach(Handle());
    unattended_.Attach(Handle());
    answers_.Load(Handle());
    events_.Load(Handle());
    portWatch_.Load(Handle(), selectors_[kPortSelectorNumber]);
    const auto profileProblems = profiles_.Load();
    ShowPortLine();

    // The repeat timer ticks from the moment the window exists; with no key held a tick does nothing.
    if (!repeatTimer_.Start(RepeatIntervalSetting::kInitialPeriod))
        ReportStartupProblem(kNotEnoughTimers.data());
    FormCreate();

    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
    SetFocus(Control(kEdit1));
    keypad_.AddTooltips(Handle());
    if (!startupProblems_.empty()) services_.messages.ShowError(Handle(), startupProblems_);
    if (profileProblems) services_.messages.ShowError(Handle(), *profileProblems);
    if (unattended)
        unattended_.Start(std::move(*unattended), [this](const std::string& port) {
            selectors_[kPortSelectorNumber].SetText(WideFromUtf8(port));  // as "Выбрать" would open it
            return phone_.Phone().Open(port, profiles_.Preparation());
        });
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
    box.height = kSelectorHeight;
    if (!selectors_.Add(number, Handle(), ComboBoxId(number), ScaledRect(box), std::move(name))) {
        ReportStartupProblem("Не удалось создать элемент окна");
        return;
    }
    SetWindowFont(selectors_[number].Handle(), Font(), FALSE);
    placements_.push_back({selectors_[number].Handle(), box});
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
    const auto oneEmptyEntry = std::make_shared<const SelectorEntries>(SelectorEntries{L""});
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
            case ControlKind::PortSelector:
                AddSelector(kPortSelectorNumber, box, WideFromUtf8(PanelCaption(Panel::Port)));
                break;
            case ControlKind::BlueLabel:
                AddLaidOutControl(WC_STATICW, item.text, SS_LEFTNOWORDWRAP | SS_NOPREFIX, item.id, box);
                break;
        }
    }

    for (int row = 0; row < kPhoneKeyCount; ++row) {
        const PhoneKey& key = kPhoneKeyTable[row];
        const Box box = InPanel(Panel::Keypad, {key.left, key.top, kKeypadButtonSize, kKeypadButtonSize});
        switch (keypad_.AddButton(row, Handle(), ScaledRect(box), Font())) {
            case Keypad::Made::Not:
                ReportStartupProblem("Не удалось создать кнопку клавиатуры");
                continue;
            case Keypad::Made::WithoutPicture:
                ReportStartupProblem("Не удалось загрузить картинку кнопки");
                break;
            case Keypad::Made::Whole:
                break;
        }
        placements_.push_back({keypad_.Button(row), box});
    }

    for (const PanelLayout& group : kGroupBoxes)
        AddLaidOutControl(WC_BUTTONW, group.caption, BS_GROUPBOX, -1, group.box);
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
    status_.Remake();
    FitToLayout();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void MainWindow::FitToLayout() {
    status_.Fit();
    const SIZE frame = FrameSize(Dpi(), status_.Height());
    SetWindowPos(Handle(), nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A failed choice or send is a box; its status shows in the port's segment. Ticks go on while a
// box is open: their failures must not stack boxes.
void MainWindow::Heard(const ConversationEvent& event) {
    std::string box;
    if (const auto* notOpened = std::get_if<heard::NotOpened>(&event)) box = CannotChooseText(*notOpened);
    if (const auto* notWritten = std::get_if<heard::NotWritten>(&event)) box = CannotSendText(*notWritten);
    if (!std::holds_alternative<heard::Written>(event)) ShowPortLine();
    if (box.empty() || failureOnScreen_) return;
    failureOnScreen_ = true;
    services_.messages.ShowSimpleMessage(Handle(), box);
    failureOnScreen_ = false;
}

// With the answers on, the port and what became of it; with the ports watched, what the watch says
// of it: "COM7 пропал — жду".
void MainWindow::ShowPortLine() {
    const ConversationTexts& texts = phone_.Texts();
    std::optional<std::string> line;
    if (answers_.On() || portWatch_.On()) line = texts.Watch();
    if (answers_.On() && texts.Watch().empty()) line = texts.Port();
    status_.Write(Segment::Port, line);
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
            OnTimer(wParam);
            return 0;
        case kPressDueMessage:
            player_.OnPressDue(wParam, lParam);
            return 0;
        case kPhoneNewsMessage:
            phone_.OnNews();
            return 0;
        case kRecordingEndedMessage:
            sequences_.OnRecordingEnded();
            return 0;
        case kPhoneEventsMessage:
            events_.OnPortOpened();
            return 0;
        case kStatusLineMessage:
            status_.Refresh();
            return 0;
        case WM_SIZE:
            status_.Fit();
            return 0;
        case WM_DEVICECHANGE:
            portWatch_.OnDeviceChange(wParam, lParam);
            return TRUE;
        case WM_ACTIVATE:
            keys_.OnActivate(LOWORD(wParam) != WA_INACTIVE, Control(kEdit1));
            return 0;
        case WM_INITMENUPOPUP:
            sequences_.ShowMenu();
            typing_.ShowMenu();
            return 0;
        case WM_ENTERMENULOOP:
        case WM_ENTERSIZEMOVE:
            // The menu and a drag run loops of their own that swallow key-ups: a key let go
            // meanwhile would stay held, so every key is let go now.
            keys_.ReleaseAll();
            break;
        case WM_PAINT:
            return PaintWith([this](HDC dc) {
                PaintSettingsLabels(dc, Font(), [this](Box box) { return ScaledRect(box); });
            });
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DPICHANGED:
            OnDpiChanged(*reinterpret_cast<RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            if (FormClose() || unattended_.ClosesWhenDone()) DestroyWindow(Handle());
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends without WM_CLOSE: save now, the process is ended right after.
            if (wParam) FormClose();
            return 0;
        case WM_DESTROY:
            KillTimer(Handle(), kRepeatTimerId);
            sequences_.Closing();
            PostQuitMessage(ExitCode());
            return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void MainWindow::OnTimer(UINT_PTR timer) {
    switch (timer) {
        case kRepeatTimerId:
            return Timer2Timer();
        case kAnswerCheckTimerId:
            return phone_.OnCheckTimer();
        case kPortRetryTimerId:
            return portWatch_.OnRetryTimer();
    }
}

void MainWindow::OnCommand(int id, WORD notification) {
    if (const int row = RowOfKeypadButton(id - kSpeedButtonIdBase); row >= 0)
        return notification == KeypadButton::kLongPress ? SpeedButtonLongPress(row) : SpeedButtonClick(row);
    switch (id) {
        case kButton1:
            return Button1Click();
        case kButton2:
            return Button2Click();
        case kButton3:
            return Button3Click();
        case kMenuExit:
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
            return;
        case kMenuDefaults:
            return N4Click();
        case kMenuAuthor:
            return AuthorClick();
        case kMenuPhone:
            return PhoneClick();
        case kMenuAnswers:
            return ToggleSwitch([this] { answers_.Toggle(); });
        case kMenuWatchPorts:
            return ToggleSwitch([this] { portWatch_.Toggle(); });
        case kMenuPhoneEvents:
            return ToggleSwitch([this] { events_.Toggle(); });
        case kMenuRecord:
            return sequences_.RecordClick();
        case kMenuPlay:
            return sequences_.PlayClick();
        case kMenuType:
            return typing_.TypeClick();
    }
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
    LRESULT brush = Window::HandleMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(control));
    if (GetDlgCtrlID(control) == kLabel27) SetTextColor(dc, kBlue);
    return brush;
}

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (!keys_.Take(message)) return false;
    // Esc anywhere in the window ends a sequence playing.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) player_.Stop();
    // Only Tab goes to the dialog manager: it would swallow Enter and Esc, which can be bound.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB)
        return IsDialogMessageW(Handle(), &message) != FALSE;
    return false;
}

}  // namespace tastolink
