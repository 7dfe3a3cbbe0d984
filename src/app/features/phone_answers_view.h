#pragma once

#include <windows.h>

#include <atomic>
#include <memory>

#include "app/main/status_bar.h"
#include "link/answer_status.h"
#include "link/answering_port_win32.h"
#include "settings/settings_files.h"

namespace tastolink {

// What the window hears from the phone, all of it behind the switch "Ответы телефона" (menu
// "Настройки", off by default): the port that reads as well, the answers it hears and what the
// status bar says of them. With the switch off the port the window opens is exactly the one of
// the program without it. The window hands the view its messages: the reader's wake-up, the
// silence timer and the menu item.
class PhoneAnswersView {
public:
    // The message the reader's thread posts to the window when it has something.
    static constexpr UINT kWakeMessage = WM_APP + 14;
    static constexpr UINT_PTR kSilenceTimer = 14;

    PhoneAnswersView(PortOpener& plainPorts, SettingsFiles& files);
    PhoneAnswersView(const PhoneAnswersView&) = delete;
    PhoneAnswersView& operator=(const PhoneAnswersView&) = delete;

    // The opener the channel holds: at each choice of the port ("Выбрать") it opens through
    // the answering opener when the switch is on and through the plain one when it is off.
    PortOpener& Ports() { return ports_; }

    // Once the window exists: reads the switch from its file.
    void Attach(HWND window);
    bool On() const { return on_; }
    // Turns the switch over and keeps it in its file. Throws SettingsError when the file can't be
    // written; the switch is turned all the same, until the program ends.
    void Toggle();
    // The reader's wake-up: takes what it has heard. True when the reader found its port gone.
    bool TakeEvents();
    // The silence timer: a second with no answer to a key.
    void Silence();
    StatusBar::Texts Texts() const;
    AnswerTally Tally() const { return status_.Tally(); }

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

    SettingsFiles& files_;
    std::atomic<HWND> window_ = nullptr;  // read by the reader's thread when it wakes the window
    std::shared_ptr<PortEventInbox> inbox_;
    AnsweringPortOpener answering_;
    ChosenPorts ports_;
    AnswerStatus status_;
    bool on_ = false;
};

}  // namespace tastolink
