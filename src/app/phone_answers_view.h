#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "app/message_boxes.h"
#include "link/answer_status.h"
#include "link/answering_port_win32.h"
#include "settings/settings_files.h"

namespace tastolink {

// The part of the main window that hears the phone, all of it behind the switch "Ответы
// телефона" (menu "Настройки", off by default): the status bar, the port that reads, and the
// keypad's long press by right click with its tooltips. With the switch off the window, its
// layout and the port it opens are exactly those of the program without this view.
class PhoneAnswersView {
public:
    // longPress runs for a right click on the keypad button of a row (0-based).
    PhoneAnswersView(PortOpener& plainPorts, SettingsFiles& files, UserMessages& messages,
                     std::function<void(int row)> longPress);
    PhoneAnswersView(const PhoneAnswersView&) = delete;
    PhoneAnswersView& operator=(const PhoneAnswersView&) = delete;

    // The opener the channel holds: at each choice of the port ("Выбрать") it opens through
    // the answering opener when the switch is on and through the plain one when it is off.
    PortOpener& Ports() { return ports_; }

    // After the window's menu, controls and layout exist: adds the menu item, and the status
    // bar when the switch is on.
    void Attach(HWND window);
    // The keypad's tooltips, once the window shows.
    void AddKeypadTooltips();

    // Ahead of the window's own dispatch; true for a message that was the view's alone.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    class ChosenPorts : public PortOpener {
    public:
        ChosenPorts(PhoneAnswersView& view, PortOpener& plain) : view_(view), plain_(plain) {}
        std::unique_ptr<OpenedPort> Open(const std::string& portName) override {
            return view_.on_ ? view_.answering_.Open(portName) : plain_.Open(portName);
        }

    private:
        PhoneAnswersView& view_;
        PortOpener& plain_;
    };

    void AddMenuItem();
    void Toggle();
    void ShowBar(bool show);
    void FitWindow();
    void TakeEvents();
    void Refresh();
    int Scaled(int value) const;

    SettingsFiles& files_;
    UserMessages& messages_;
    std::function<void(int)> longPress_;
    std::atomic<HWND> window_ = nullptr;  // read by the reader's thread when it wakes the window
    std::shared_ptr<PortEventInbox> inbox_;
    AnsweringPortOpener answering_;
    ChosenPorts ports_;
    AnswerStatus status_;
    bool on_ = false;
    HWND bar_ = nullptr;
    HWND tooltips_ = nullptr;
};

}  // namespace tastolink
