#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/features/player.h"
#include "app/features/press_source.h"
#include "app/features/window_conversation.h"
#include "app/window/message_boxes.h"
#include "phone/phone_events_heard.h"
#include "recording/key_recorder.h"
#include "settings/settings_files.h"

namespace tastolink {

// Recording and playing key sequences: "Файл → Записать нажатия…" writes each keypad command sent
// to a file with the pause before it, "Воспроизвести…" plays a file on the chosen port. Each menu
// item says what a click does now; while one of them runs, the other does nothing, and neither
// starts while a text is typed.
class KeySequences : public PressSource {
public:
    static constexpr std::string_view kRecordItem = "Записать нажатия…";
    static constexpr std::string_view kPlayItem = "Воспроизвести…";

    // A recording takes the keys pressed on the phone itself from `phoneKeys` too.
    KeySequences(WindowConversation& phone, Player& player, PhoneEventsHeard& phoneKeys, SettingsFiles& files,
                 UserMessages& messages);
    ~KeySequences() override;
    KeySequences(const KeySequences&) = delete;
    KeySequences& operator=(const KeySequences&) = delete;

    void Attach(HWND window) { window_ = window; }
    void RecordClick();
    void PlayClick();
    // kRecordingEndedMessage: the file refused a line.
    void OnRecordingEnded();
    // The menu opens: its items say what a click does now.
    void ShowMenu() const;
    // The window is going: a sequence still playing is stopped, a recording ends.
    void Closing();

    // A file, checked whole.
    std::optional<Playback> Prepare(const std::string& path) override;
    void Play(Playback playback, Player::Ended ended) override;

private:
    std::optional<std::string> AskForFile(bool save) const;
    void StopRecording();

    WindowConversation& phone_;
    Player& player_;
    PhoneEventsHeard& phoneKeys_;
    SettingsFiles& files_;
    UserMessages& messages_;
    HWND window_ = nullptr;
    std::unique_ptr<KeyRecorder> recorder_;
    std::string recordingPath_;
    std::string recordingEnded_;  // why the file refused a line
};

}  // namespace tastolink
