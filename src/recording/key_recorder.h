#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "link/conversation_event.h"
#include "phone/phone_events_heard.h"
#include "recording/playback_schedule.h"
#include "settings/settings_files.h"

namespace tastolink {

// A recording of the lines written to the phone: each keypad command that goes out is a line of
// the file at once, with the pause before it, so that what was recorded stays there whatever ends
// the recording. It hears the conversation, and the keys pressed on the phone itself where the
// phone reports them: each is a line too, from the moment it went down, long where it was held. When
// the file refuses a line, the recording ends and says why.
class KeyRecorder : public ConversationListener, public PhoneKeyListener {
public:
    using Clock = std::function<std::uint64_t()>;
    using Ended = std::function<void(const std::string& reason)>;

    KeyRecorder(std::unique_ptr<GrowingFile> file, Clock clock, Ended ended);
    void Heard(const ConversationEvent& event) override;
    void PhoneKeyPressed(const PhoneKeyPress& press) override;
    bool Recording() const { return file_ != nullptr; }

private:
    void Append(const std::string& line);

    std::unique_ptr<GrowingFile> file_;
    Clock clock_;
    Ended ended_;
    Recorder lines_;
};

}  // namespace tastolink
