#pragma once

#include <windows.h>

#include <string>

#include "app/window/window.h"

namespace tastolink {

// A tooltip control, made and owned here. Its tools are whole windows, known by their handle, and
// the text of each can change at any time. The control is a popup, which Wine backs with an X
// window: a window makes it once it shows, or when it is first needed.
class Tooltip final : public Window {
public:
    // Who hands the control the mouse messages of a tool.
    enum class Mouse {
        Watched,  // the control, which subclasses the tool for them
        Relayed,  // the owner, through Relay and FollowEntry: for a tool that handles its mouse itself
    };

    ~Tooltip() override { Destroy(); }

    // Makes the control, whose tips show over the windows of `owner` and which goes with it. False
    // when the system could not make it.
    bool Create(HWND owner);
    // A tip of `text` over the whole of `tool`, a window of the owner.
    void AddTool(HWND tool, const std::wstring& text, Mouse mouse = Mouse::Watched);
    // A tip shown meanwhile shows the new text.
    void SetText(HWND tool, const std::wstring& text);
    // A mouse message of a relayed tool.
    void Relay(const MSG& mouse);
    // For a relayed list whose tip follows its entries: the mouse moved over `entry`, whose tip is
    // `text`. A move onto another entry shows that entry's tip.
    void FollowEntry(HWND list, const MSG& move, int entry, const std::wstring& text);
    // Hides the tip shown, if any.
    void Hide();

private:
    HWND owner_ = nullptr;
    int followed_ = -1;  // the entry whose tip shows
};

}  // namespace tastolink
