#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "app/key_routing.h"
#include "app/main_window_layout.h"
#include "app/message_boxes.h"
#include "app/phone_answers_view.h"
#include "capture/held_key_table.h"
#include "capture/repeat_scan.h"
#include "link/serial_channel.h"
#include "settings/key_catalogue.h"
#include "settings/mapping_store.h"
#include "settings/repeat_interval.h"
#include "settings/settings_files.h"

namespace tastolink {

class AuthorWindow;

// What the main window talks to outside itself; tests hand in fakes.
struct MainWindowServices {
    PortOpener& ports;
    SettingsFiles& files;
    UserMessages& messages;
};

// Form1: the settings rows, the keypad, the interval and port panels and the menu.
class MainWindow : private Selectors, private ChannelMessages {
public:
    explicit MainWindow(MainWindowServices services);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Builds the window, runs the create sequence and shows it. False if no window could be made.
    bool Create(int showCommand);
    void SetAuthorWindow(AuthorWindow* author) { author_ = author; }

    // Key routing and Tab navigation ahead of dispatch; true when the message was consumed.
    bool PreTranslateMessage(MSG& message);

    HWND Handle() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    HWND ComboBox(int number) const { return comboBoxes_[number]; }
    const HeldKeyTable& HeldKeys() const { return heldKeys_; }
    const SerialChannel& Channel() const { return channel_; }
    std::uint32_t RepeatPeriod() const { return interval_.Period(); }

    // The click action of the keypad button of a row (0-based): what a mouse click and the repeat scan run.
    void PressRow(int row);

    // Handlers, named after the component and event they serve.
    void FormCreate();
    bool FormClose();
    void FormKeyDown(WORD key);
    void FormKeyUp(WORD key);
    void SpeedButtonClick(int row);
    void Timer2Timer();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void N4Click();
    void AuthorClick();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id);
    void OnActivate(bool active);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    LRESULT OnControlColour(HDC dc, HWND control);

    void BuildControls();
    void BuildMenu();
    HWND AddControl(const wchar_t* windowClass, std::string_view text, DWORD style, int id, Box box,
                    DWORD extendedStyle = 0);
    void ApplyLayout();
    int Scaled(int value) const;
    KeySource SourceOf(HWND target) const;

    template <typename Handler>
    void Guarded(Handler&& handler);

    // Selectors
    std::string Text(int comboBoxNumber) const override;
    void SetText(int comboBoxNumber, const std::string& ansiText) override;
    void ReplaceItems(int comboBoxNumber, const std::vector<std::string>& ansiEntries) override;
    // ChannelMessages
    void ShowChannelFailure(const std::string& text) override;

    static constexpr UINT_PTR kRepeatTimer = 2;  // Timer2

    // Timer2 as the period setting drives it.
    class RepeatTimer : public RepeatTimerControl {
    public:
        explicit RepeatTimer(const HWND& window) : window_(window) {}
        void Stop() override { KillTimer(window_, kRepeatTimer); }
        bool Start(std::uint32_t periodMs) override { return SetTimer(window_, kRepeatTimer, periodMs, nullptr); }

    private:
        const HWND& window_;
    };

    struct Placement {
        HWND control;
        Box box;  // client coordinates at 96 dpi
    };

    MainWindowServices services_;
    PhoneAnswersView answers_;  // before channel_, which opens its ports through it
    SerialChannel channel_;
    HeldKeyTable heldKeys_;
    HWND window_ = nullptr;
    RepeatTimer repeatTimer_{window_};
    MappingStore mappings_;
    RepeatIntervalSetting interval_;
    AuthorWindow* author_ = nullptr;

    HWND focusBeforeDeactivation_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HFONT font_ = nullptr;
    std::array<HWND, 54> comboBoxes_{};
    std::vector<Placement> placements_;
    std::vector<HBITMAP> pictures_;
};

}  // namespace tastolink
