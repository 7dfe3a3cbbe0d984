#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/features/player.h"
#include "app/features/window_conversation.h"
#include "app/window/message_boxes.h"
#include "recording/key_recorder.h"
#include "recording/unattended_run.h"
#include "settings/settings_files.h"

namespace tastolink {

// Recording and playing key sequences: "Файл → Записать нажатия…" writes each keypad command sent
// to a file with the pause before it, "Воспроизвести…" plays a file on the chosen port, and
// Tastolink.exe --port COM5 --play FILE [--exit] plays one unattended, with an exit code. Each menu
// item says what a click does now; while one of them runs, the other does nothing.
class KeySequences {
public:
    static constexpr std::string_view kRecordItem = "Записать нажатия…";
    static constexpr std::string_view kPlayItem = "Воспроизвести…";

    KeySequences(WindowConversation& phone, Player& player, SettingsFiles& files, UserMessages& messages);
    ~KeySequences();
    KeySequences(const KeySequences&) = delete;
    KeySequences& operator=(const KeySequences&) = delete;

    void Attach(HWND window) { window_ = window; }
    void RecordClick();
    void PlayClick();
    // kRecordingEndedMessage: the file refused a line.
    void OnRecordingEnded();

    // Checks the file, has `ready` take the run's profile and open its port as "Выбрать" would, and
    // plays the file. `ready` gives 0, or the exit code that ends the run before it plays.
    void StartUnattended(UnattendedRun run, const std::function<int(const UnattendedRun&)>& ready);
    bool Unattended() const { return unattended_.has_value(); }
    // An unattended run that closes when done closes even when the settings can't be saved:
    // nobody is there to try again.
    bool ClosesWhenDone() const { return unattended_ && unattended_->exitWhenDone; }
    // What the program ends with: 0, or an unattended run's outcome.
    int ExitCode() const { return exitCode_; }
    // The window is going: a sequence still playing is stopped, a recording ends.
    void Closing();

private:
    std::optional<std::string> AskForFile(bool save) const;
    // The file checked whole, or nothing (and the box that says why).
    std::optional<std::vector<RecordedPress>> Read(const std::string& path);
    void Play(std::vector<RecordedPress> presses);
    void StopRecording();
    void ShowMenu() const;
    // The run's outcome, the first that went wrong; with --exit the window closes.
    void EndUnattended(int code);

    WindowConversation& phone_;
    Player& player_;
    SettingsFiles& files_;
    UserMessages& messages_;
    HWND window_ = nullptr;
    std::unique_ptr<KeyRecorder> recorder_;
    std::string recordingPath_;
    std::string recordingEnded_;  // why the file refused a line
    std::optional<UnattendedRun> unattended_;
    int exitCode_ = kEverythingWritten;
};

}  // namespace tastolink
