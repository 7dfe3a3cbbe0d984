#pragma once

#include <windows.h>

#include "app/features/menu_switch.h"
#include "app/features/window_conversation.h"
#include "app/selector/selector.h"
#include "settings/settings_files.h"

namespace tastolink {

// The watch over the ports, behind the switch "Следить за портами" (menu "Настройки", off by
// default, kept in ports.ini). With it on, the port selector offers the ports the system has
// beside COM1 to COM5, with their devices' names, read again at each drop and when a device comes
// or goes; and a port that goes away is waited for: tried again every second, and at once when a
// device arrives. Off, the selector offers COM1 to COM5 as always and no port is looked up.
class PortWatch : private ConversationListener {
public:
    PortWatch(WindowConversation& phone, SettingsFiles& files);
    ~PortWatch() override;
    PortWatch(const PortWatch&) = delete;
    PortWatch& operator=(const PortWatch&) = delete;

    // Reads the switch from its file; `window` hears of devices while the switch is on, and
    // `ports` is the port selector it fills.
    void Load(HWND window, Selector& ports);
    bool On() const { return switch_.On(); }
    // Turns the switch over and keeps it in its file. Throws SettingsError when the file can't be
    // written; the switch is turned all the same, until the program ends.
    void Toggle();
    // WM_DEVICECHANGE: a device came or went.
    void OnDeviceChange(WPARAM event, LPARAM data);
    // kPortRetryTimerId: the port waited for is tried again.
    void OnRetryTimer();

private:
    void Heard(const ConversationEvent& event) override;
    void Apply();
    void FillPortSelector() const;
    // Ports arrive and leave as WM_DEVICECHANGE: a serial port's on its own, and a port of any
    // device (a USB modem's too) once the window asks for the COM port interface's.
    void Listen(bool listen);
    void FollowWaiting() const;

    WindowConversation& phone_;
    MenuSwitch switch_;
    HWND window_ = nullptr;
    Selector* ports_ = nullptr;
    HDEVNOTIFY notification_ = nullptr;
};

}  // namespace tastolink
