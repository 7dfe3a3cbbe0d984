#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tastolink {

// The parts of the status line, left to right. Each is written by the one part of the program that
// owns it: the port by the main window, the answers' three by the phone's answers, the progress by
// a playing sequence or a typed text, the last five by the phone's events.
enum class Segment : std::size_t {
    Port,
    LastKey,
    PhoneSaid,
    Counts,
    Progress,
    PhoneEvents,
    PhoneKey,
    Battery,
    Signal,
    PhoneDisplay,
    kCount
};

// The status line as its writers see it. The line shows while any segment shows, and is gone
// otherwise, so that without the additions the window is exactly its layout.
class StatusSegments {
public:
    virtual ~StatusSegments() = default;
    // Shows `text` (UTF-8) in the segment; nothing hides it.
    virtual void Write(Segment segment, std::optional<std::string> text) = 0;
};

}  // namespace tastolink
