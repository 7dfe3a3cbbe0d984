#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "app/features/key_playback.h"
#include "app/features/status_segments.h"
#include "app/features/window_conversation.h"
#include "app/window/message_boxes.h"
#include "recording/playback.h"

namespace tastolink {

class PressSource;

// Plays presses to the phone on their schedule: a key sequence from a file, or a typed text. Its
// progress is the status line's progress segment; Esc or the menu stops it, and what was sent
// stays sent. One plays at a time.
class Player {
public:
    // The end of a playing, whether played through, stopped or never started: its exit code for an
    // unattended run.
    using Ended = std::function<void(int exitCode)>;

    Player(WindowConversation& phone, StatusSegments& status, UserMessages& messages)
        : phone_(phone), status_(status), messages_(messages) {}
    void Attach(HWND window) { window_ = window; }

    // Plays `playback` of `source`; when the system gives no thread or timer, a box says so and it
    // has ended.
    void Start(Playback playback, const PressSource& source, Ended ended);
    // kPressDueMessage.
    void OnPressDue(WPARAM index, LPARAM run);
    void Stop();
    bool Running() const { return clock_.IsRunning(); }
    // Whether what plays is `source`'s: its menu item then stops it.
    bool Plays(const PressSource& source) const { return Running() && source_ == &source; }

private:
    void End();
    void ShowProgress();

    WindowConversation& phone_;
    StatusSegments& status_;
    UserMessages& messages_;
    HWND window_ = nullptr;
    KeyPlayback clock_;
    std::optional<Playback> playback_;
    Ended ended_;
    const PressSource* source_ = nullptr;
    AnswerTally atStart_;
};

}  // namespace tastolink
