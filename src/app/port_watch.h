#pragma once

#include <windows.h>

#include "app/selector.h"
#include "settings/settings_files.h"

namespace tastolink {

// The watch over the ports, behind the switch "Следить за портами" (menu "Настройки", off by
// default). With it on, the port selector offers the ports the system has beside COM1 to COM5,
// with their devices' names, read again at each drop and when a device comes or goes. Off, the
// selector offers COM1 to COM5 as always and no port is looked up.
class PortWatch {
public:
    explicit PortWatch(SettingsFiles& files) : files_(files) {}

    // Reads the switch from its file.
    void Load();
    bool On() const { return on_; }
    // Turns the switch over and keeps it in its file. Throws SettingsError when the file can't be
    // written; the switch is turned all the same, until the program ends.
    void Toggle();
    // The port selector's entries as they stand now.
    void FillPortSelector(Selector& ports) const;

private:
    SettingsFiles& files_;
    bool on_ = false;
};

}  // namespace tastolink
