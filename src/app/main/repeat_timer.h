#pragma once

#include <windows.h>

#include "app/window/message_ids.h"
#include "app/window/window.h"
#include "settings/repeat_interval.h"

namespace tastolink {

// Timer2, the repeat timer, as the period setting drives it: a timer of the window, whose ticks
// arrive as WM_TIMER with kRepeatTimerId; Windows merges ticks that fall due while the window is busy.
class RepeatTimer : public RepeatTimerControl {
public:
    explicit RepeatTimer(const Window& window) : window_(window) {}
    void Stop() override { KillTimer(window_.Handle(), kRepeatTimerId); }
    bool Start(std::uint32_t periodMs) override {
        return SetTimer(window_.Handle(), kRepeatTimerId, periodMs, nullptr) != 0;
    }

private:
    const Window& window_;
};

}  // namespace tastolink
