#pragma once

#include <windows.h>

#include "settings/settings_files.h"
#include "settings/switch_files.h"

namespace tastolink {

// The switch of an addition: kept in a file of its own (off when there is none) and shown as the
// check mark of its item in the window's menu.
class MenuSwitch {
public:
    MenuSwitch(SettingsFiles& files, const char* file, UINT menuItem)
        : files_(files), file_(file), menuItem_(menuItem) {}

    // Reads the switch and marks the item of `window`'s menu.
    void Load(HWND window) {
        window_ = window;
        Show(LoadSwitch(files_, file_));
    }
    void Flip() { Show(!on_); }
    // Throws SettingsError when the file can't be written; the switch holds all the same.
    void Save() const { SaveSwitch(files_, file_, on_); }
    bool On() const { return on_; }

private:
    void Show(bool on) {
        on_ = on;
        CheckMenuItem(GetMenu(window_), menuItem_, on ? MF_CHECKED : MF_UNCHECKED);
    }

    SettingsFiles& files_;
    const char* file_;
    UINT menuItem_;
    HWND window_ = nullptr;
    bool on_ = false;
};

}  // namespace tastolink
