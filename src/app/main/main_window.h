#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/features/key_playback.h"
#include "app/features/key_recording.h"
#include "app/features/phone_answers_view.h"
#include "app/features/port_watch.h"
#include "app/main/keypad_button.h"
#include "app/main/main_window_layout.h"
#include "app/selector/selector.h"
#include "app/window/message_boxes.h"
#include "app/window/window.h"
#include "capture/held_key_table.h"
#include "link/serial_channel.h"
#include "recording/key_sequence.h"
#include "recording/unattended_run.h"
#include "settings/mapping_store.h"
#include "settings/repeat_interval.h"
#include "settings/settings_files.h"
#include "shared/selectors.h"

namespace tastolink {

class AuthorWindow;

// What the main window talks to outside itself; tests hand in fakes.
struct MainWindowServices {
    PortOpener& ports;
    SettingsFiles& files;
    UserMessages& messages;
};

// Form1: the settings rows, the keypad, the interval and port panels and the menu.
class MainWindow : public Window, private Selectors {
public:
    explicit MainWindow(MainWindowServices services);
    ~MainWindow() override { Destroy(); }

    // Builds the window, runs the create sequence and shows it; then starts an unattended run
    // when there is one. False if no window could be made.
    bool Create(int showCommand, std::optional<UnattendedRun> unattended = std::nullopt);
    // What the program ends with: 0, or an unattended run's outcome.
    int ExitCode() const { return exitCode_; }
    void SetAuthorWindow(AuthorWindow* author) { author_ = author; }

    // Key capture and Tab navigation ahead of dispatch; true when the message was consumed.
    bool PreTranslateMessage(MSG& message);

    HWND Control(int id) const { return GetDlgItem(Handle(), id); }
    const Selector& ComboBox(int number) const { return selectors_[number]; }
    const HeldKeyTable& HeldKeys() const { return heldKeys_; }
    std::uint32_t RepeatPeriod() const { return interval_.Period(); }

    // Handlers, named after the component and event they serve.
    void FormCreate();
    bool FormClose();
    void FormKeyDown(WORD key);
    void FormKeyUp(WORD key);
    void SpeedButtonClick(int row);      // the click action of a row's keypad button (0-based row)
    void SpeedButtonLongPress(int row);  // its right click: the key held for two seconds
    void Timer2Timer();                  // the repeat timer's tick: one repeat scan
    void Button1Click();                 // "Get": shows the period
    void Button2Click();                 // "Set": takes the period from the field
    void Button3Click();                 // "Выбрать": opens the chosen port
    void N4Click();                      // "По умолчанию": applies the default bindings
    void AuthorClick();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, WORD notification);
    void OnActivate(bool active);
    void OnDpiChanged(const RECT& suggested);
    LRESULT OnControlColour(HDC dc, HWND control);

    void BuildControls();
    void AddSelector(int number, Box box, std::wstring name);
    void BuildMenu();
    void AddKeypadTooltips();
    // The status bar while something shows in it, and the window's size for the layout and the bar.
    void UpdateStatusBar();
    void ShowStatus();
    // The port waited for is tried again every second for as long as the channel waits for it.
    void FollowWaiting();
    void OnDeviceChange(WPARAM event, LPARAM data);
    void FitToLayout();
    void AnswersClick();  // "Ответы телефона": the switch of the phone's answers
    void RecordClick();   // "Записать нажатия…" / "Остановить запись"
    void PlayClick();  // "Воспроизвести…" / "Остановить воспроизведение"
    void WatchPortsClick();  // "Следить за портами": the switch of the watch over the ports

    // Key sequences (main_window_sequences.cpp).
    std::optional<std::wstring> AskForSequenceFile(bool save);
    std::optional<std::vector<RecordedPress>> LoadSequence(const std::wstring& path);
    void Play(std::vector<RecordedPress> presses);
    void OnPressDue(WPARAM index, LPARAM run);
    void StopRecording();
    void StopPlaying();
    void ShowSequenceMenu();
    std::string PlayingText() const;
    bool SendToPhone(const std::string& command);
    void ReportSequenceProblem(const std::string& text);
    int PlayedCode() const;
    void EndUnattendedRun(int code);
    void StartUnattendedRun();
    void PaintLabels(HDC dc);
    // A system control at `box` of the layout, kept in place through changes of dpi.
    HWND AddLaidOutControl(const wchar_t* windowClass, std::string_view text, DWORD style, int id, Box box,
                           DWORD extendedStyle = 0);
    void ApplyLayout();
    void ReportStartupProblem(const char* what);
    bool MarksKeyDowns(HWND target) const;

    template <typename Handler>
    void Guarded(Handler&& handler);

    // Selectors
    std::string Text(int comboBoxNumber) const override;
    void SetText(int comboBoxNumber, const std::string& ansiText) override;
    void ReplaceItems(int comboBoxNumber, const std::vector<std::string>& ansiEntries) override;

    static constexpr UINT_PTR kRepeatTimer = 2;  // Timer2
    static constexpr UINT_PTR kRetryTimer = 21;

    // Timer2 as the period setting drives it.
    class RepeatTimer : public RepeatTimerControl {
    public:
        explicit RepeatTimer(const MainWindow& owner) : owner_(owner) {}
        void Stop() override { KillTimer(owner_.Handle(), kRepeatTimer); }
        bool Start(std::uint32_t periodMs) override {
            return SetTimer(owner_.Handle(), kRepeatTimer, periodMs, nullptr) != 0;
        }

    private:
        const MainWindow& owner_;
    };

    struct Placement {
        HWND control;
        Box box;  // client coordinates at 96 dpi
    };

    MainWindowServices services_;
    PhoneAnswersView answers_;  // before channel_, which opens its ports through it
    StatusBar statusBar_;
    PortWatch portWatch_;
    KeyRecording recording_;
    KeyPlayback playback_;
    std::vector<RecordedPress> playing_;  // the sequence playing, or played last
    std::size_t played_ = 0;
    std::size_t notWritten_ = 0;
    AnswerTally answersAtStart_;
    std::optional<UnattendedRun> unattended_;
    bool portOpened_ = false;
    int exitCode_ = 0;
    SerialChannel channel_;
    HeldKeyTable heldKeys_;
    RepeatTimer repeatTimer_{*this};
    MappingStore mappings_;
    RepeatIntervalSetting interval_;
    AuthorWindow* author_ = nullptr;

    HWND focusBeforeDeactivation_ = nullptr;
    SelectorParts selectorParts_;                         // before the selectors that share it
    std::array<Selector, kSelectorCount + 1> selectors_;  // by ComboBox number; 0 is unused
    std::array<KeypadButton, kPhoneKeyCount> keypad_;     // by row
    std::array<GdiObject<HBITMAP>, kPhoneKeyCount> pictures_;
    std::vector<Placement> placements_;
    std::string startupProblems_;
    // The last list given to the selectors and its conversion: the catalogue is the same for all 52.
    std::vector<std::string> lastEntries_;
    Selector::Entries lastWideEntries_;
};

}  // namespace tastolink
