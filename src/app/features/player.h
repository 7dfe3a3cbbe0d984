#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "app/features/key_playback.h"
#include "app/features/status_segments.h"
#include "app/features/window_conversation.h"
#include "recording/playback.h"

namespace tastolink {

// Plays presses to the phone on their schedule: a key sequence from a file, or a typed text. Its
// progress is the status line's progress segment; Esc or the menu stops it, and what was sent
// stays sent. One plays at a time.
class Player {
public:
    // What the phone is sent for a press.
    using Command = std::function<PhoneCommand(const RecordedPress&)>;
    // The end of a playing, whether played through or stopped: its exit code for an unattended run.
    using Ended = std::function<void(int exitCode)>;

    Player(WindowConversation& phone, StatusSegments& status) : phone_(phone), status_(status) {}
    void Attach(HWND window) { window_ = window; }

    // False when the system gives no thread or timer.
    bool Start(Playback playback, Command command, Ended ended);
    // kPressDueMessage.
    void OnPressDue(WPARAM index, LPARAM run);
    void Stop();
    bool Running() const { return clock_.IsRunning(); }

private:
    void End();
    void ShowProgress();

    WindowConversation& phone_;
    StatusSegments& status_;
    HWND window_ = nullptr;
    KeyPlayback clock_;
    std::optional<Playback> playback_;
    Command command_;
    Ended ended_;
    AnswerTally atStart_;
};

}  // namespace tastolink
