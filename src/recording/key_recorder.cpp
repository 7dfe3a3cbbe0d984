#include "recording/key_recorder.h"

namespace tastolink {

KeyRecorder::KeyRecorder(std::unique_ptr<GrowingFile> file, Clock clock, Ended ended)
    : file_(std::move(file)), clock_(std::move(clock)), ended_(std::move(ended)) {}

void KeyRecorder::Heard(const ConversationEvent& event) {
    const auto* written = std::get_if<heard::Written>(&event);
    if (!written || !file_) return;
    const auto line = lines_.LineFor(written->command.line, clock_());
    if (!line) return;
    try {
        file_->Append(*line + "\r\n");
    } catch (const SettingsError& error) {
        file_.reset();
        ended_(error.Reason());
    }
}

}  // namespace tastolink
