#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "recording/key_sequence.h"

namespace tastolink {

// When each press of a sequence is due, in milliseconds from the moment playing starts: the
// pauses added up, so that one command sent late never makes the ones after it late too.
std::vector<std::uint64_t> DueTimes(const std::vector<RecordedPress>& presses);

// Turns each command the program writes to the phone, and each key pressed on the phone itself,
// into a line of the recording, with the time since the press before it; the first has no pause.
class Recorder {
public:
    // The line for a command written at `nowMs` of a steady clock; nothing for a line that is no
    // keypad command.
    std::optional<std::string> LineFor(std::string_view commandLine, std::uint64_t nowMs);
    // The line for a press made at `atMs`: a key on the phone, told when it was let go, may be
    // older than the last line, and follows it at once.
    std::string LineFor(RecordedPress press, std::uint64_t atMs);

private:
    std::optional<std::uint64_t> lastMs_;
};

}  // namespace tastolink
