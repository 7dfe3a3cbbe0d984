#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "recording/playback_schedule.h"

namespace tastolink {

// A recording of the commands written to the phone, one line each, written to its file at once,
// so that what was recorded stays there whatever ends the recording.
class KeyRecording {
public:
    KeyRecording() = default;
    ~KeyRecording() { Stop(); }
    KeyRecording(const KeyRecording&) = delete;
    KeyRecording& operator=(const KeyRecording&) = delete;

    // Starts a recording into `path`, replacing a file of that name; the system's reason when the
    // file can't be made.
    bool Start(const std::wstring& path, std::string& reason);
    void Stop();
    bool IsRecording() const { return file_ != INVALID_HANDLE_VALUE; }
    const std::wstring& Path() const { return path_; }
    // A command the phone was sent. False, with the reason, when the file could not take its line:
    // the recording has then ended.
    bool Written(std::string_view command, std::string& reason);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::wstring path_;
    Recorder recorder_;
};

// The system's text for an error code, without its closing full stop and line break.
std::string SystemReason(DWORD error);

}  // namespace tastolink
