#include "recording/key_recorder.h"

namespace tastolink {

KeyRecorder::KeyRecorder(std::unique_ptr<GrowingFile> file, Clock clock, Ended ended)
    : file_(std::move(file)), clock_(std::move(clock)), ended_(std::move(ended)) {}

void KeyRecorder::Heard(const ConversationEvent& event) {
    const auto* written = std::get_if<heard::Written>(&event);
    if (!written || !file_) return;
    if (const auto line = lines_.LineFor(written->command.line, clock_())) Append(*line);
}

void KeyRecorder::PhoneKeyPressed(const PhoneKeyPress& press) {
    // A key that AT+CKPD can't press (a comma, a semicolon) could never be played back.
    if (!file_ || KeypadStringFault(press.key)) return;
    const auto atMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(press.pressedAt.time_since_epoch());
    Append(lines_.LineFor({0, press.key, press.holdTenths}, static_cast<std::uint64_t>(atMs.count())));
}

void KeyRecorder::Append(const std::string& line) {
    try {
        file_->Append(line + "\r\n");
    } catch (const SettingsError& error) {
        file_.reset();
        ended_(error.Reason());
    }
}

}  // namespace tastolink
