#pragma once

#include <windows.h>

#include "app/selector/selector.h"
#include "settings/settings_files.h"

namespace tastolink {

// The watch over the ports, behind the switch "Следить за портами" (menu "Настройки", off by
// default). With it on, the port selector offers the ports the system has beside COM1 to COM5,
// with their devices' names, read again at each drop and when a device comes or goes. Off, the
// selector offers COM1 to COM5 as always and no port is looked up.
class PortWatch {
public:
    explicit PortWatch(SettingsFiles& files) : files_(files) {}
    ~PortWatch() { Listen(false); }
    PortWatch(const PortWatch&) = delete;
    PortWatch& operator=(const PortWatch&) = delete;

    // Reads the switch from its file; `window` hears of devices while the switch is on.
    void Load(HWND window);
    bool On() const { return on_; }
    // Turns the switch over and keeps it in its file. Throws SettingsError when the file can't be
    // written; the switch is turned all the same, until the program ends.
    void Toggle();
    // The port selector's entries as they stand now.
    void FillPortSelector(Selector& ports) const;

private:
    // Ports arrive and leave as WM_DEVICECHANGE: a serial port's on its own, and a port of any
    // device (a USB modem's too) once the window asks for the COM port interface's.
    void Listen(bool listen);

    SettingsFiles& files_;
    bool on_ = false;
    HWND window_ = nullptr;
    HDEVNOTIFY notification_ = nullptr;
};

}  // namespace tastolink
