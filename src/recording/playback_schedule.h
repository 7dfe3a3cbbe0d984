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

// Turns each command the program writes to the phone into a line of the recording, with the
// time since the command before it; the first has no pause.
class Recorder {
public:
    // The line for a command written at `nowMs` of a steady clock; nothing for a line that is no
    // keypad command.
    std::optional<std::string> LineFor(std::string_view commandLine, std::uint64_t nowMs);

private:
    std::optional<std::uint64_t> lastMs_;
};

}  // namespace tastolink
