#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/features/key_sequences.h"
#include "app/features/phone_answers.h"
#include "app/features/phone_dialog.h"
#include "app/features/phone_events_view.h"
#include "app/features/phone_profiles.h"
#include "app/features/player.h"
#include "app/features/port_watch.h"
#include "app/features/typed_texts.h"
#include "app/features/unattended_runner.h"
#include "app/features/window_conversation.h"
#include "app/main/binding_selectors.h"
#include "app/main/key_capture.h"
#include "app/main/keypad.h"
#include "app/main/main_window_layout.h"
#include "app/main/repeat_timer.h"
#include "app/main/status_line.h"
#include "app/window/message_boxes.h"
#include "app/window/window.h"
#include "recording/unattended_run.h"
#include "settings/mapping_store.h"
#include "settings/repeat_interval.h"
#include "settings/settings_files.h"

namespace tastolink {

class AuthorWindow;

// What the main window talks to outside itself; tests hand in fakes.
struct MainWindowServices {
    SerialPortOpener& ports;
    SettingsFiles& files;
    UserMessages& messages;
};

// Form1: the settings rows, the keypad, the interval and port panels and the menu. It composes its
// parts and routes messages to them: the phone conversation and its features, the selectors, the
// keypad and the status line. Only it shows the boxes of the road to the phone.
class MainWindow : public Window, private ConversationListener {
public:
    explicit MainWindow(MainWindowServices services);
    ~MainWindow() override;

    // Builds the window, runs the create sequence and shows it; then starts an unattended run
    // when there is one. False if no window could be made.
    bool Create(int showCommand, std::optional<UnattendedRun> unattended = std::nullopt);
    // What the program ends with: 0, or an unattended run's outcome.
    int ExitCode() const { return unattended_.ExitCode(); }
    void SetAuthorWindow(AuthorWindow* author) { author_ = author; }

    // Key capture, Esc and Tab ahead of dispatch; true when the message was consumed.
    bool PreTranslateMessage(MSG& message) override;

    HWND Control(int id) const { return GetDlgItem(Handle(), id); }
    const Selector& ComboBox(int number) const { return selectors_[number]; }
    const HeldKeyTable& HeldKeys() const { return keys_.HeldKeys(); }
    std::uint32_t RepeatPeriod() const { return interval_.Period(); }

    // Handlers, named after the component and event they serve.
    void FormCreate();
    bool FormClose();
    void SpeedButtonClick(int row);      // the click action of a row's keypad button (0-based row)
    void SpeedButtonLongPress(int row);  // its right click: the key held for two seconds
    void Timer2Timer();                  // the repeat timer's tick: one repeat scan
    void Button1Click();                 // "Get": shows the period
    void Button2Click();                 // "Set": takes the period from the field
    void Button3Click();                 // "Выбрать": opens the chosen port
    void N4Click();                      // "По умолчанию": applies the default bindings
    void AuthorClick();
    void PhoneClick();  // "Телефон…"

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, WORD notification);
    void OnTimer(UINT_PTR timer);
    void OnDpiChanged(const RECT& suggested);
    LRESULT OnControlColour(HDC dc, HWND control);
    // The boxes of the road to the phone, and the port's segment of the status line.
    void Heard(const ConversationEvent& event) override;
    void ShowPortLine();

    void BuildControls();
    // A control at `box` of the layout, kept in place through changes of dpi.
    HWND AddLaidOutControl(const wchar_t* windowClass, std::string_view text, DWORD style, int id, Box box,
                           DWORD extendedStyle = 0);
    void AddSelector(int number, Box box, std::wstring name);
    void ApplyLayout();
    void FitToLayout();
    void ReportStartupProblem(const char* what);
    // A switch of an addition from the menu: one that can't be saved holds until the program ends.
    void ToggleSwitch(const std::function<void()>& toggle);

    template <typename Handler>
    void Guarded(Handler&& handler);

    struct Placement {
        HWND control;
        Box box;  // client coordinates at 96 dpi
    };

    MainWindowServices services_;
    StatusLine status_{[this] { FitToLayout(); }};
    WindowConversation phone_;
    PhoneProfiles profiles_;
    PhoneDialog phoneDialog_;
    PhoneAnswers answers_;
    PhoneEventsView events_;
    PortWatch portWatch_;
    Player player_;
    KeySequences sequences_;
    TypedTexts typing_;
    UnattendedRunner unattended_;
    RepeatTimer repeatTimer_{*this};
    MappingStore mappings_;
    RepeatIntervalSetting interval_;
    AuthorWindow* author_ = nullptr;
    bool failureOnScreen_ = false;  // a box of the road to the phone is open

    BindingSelectors selectors_;
    KeyCapture keys_{*this, selectors_};
    Keypad keypad_;
    std::vector<Placement> placements_;
    std::string startupProblems_;
};

}  // namespace tastolink
