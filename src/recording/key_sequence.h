#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tastolink {

// One command of a recorded key sequence: the pause before it, the key as AT+CKPD writes it
// ("5", "#", ":T") and, for a long press, the press time in tenths of a second.
struct RecordedPress {
    std::uint32_t pauseMs = 0;
    std::string code;
    std::optional<int> pressTenths;

    bool operator==(const RecordedPress&) const = default;
};

inline constexpr int kLongestPressTenths = 255;

// The file's line for a press: "<milliseconds> <key>" or "<milliseconds> <key>,<time>".
std::string SequenceLine(const RecordedPress& press);
// The command line that presses it: AT+CKPD="<key>" or AT+CKPD="<key>",<time>, then CR LF.
std::string CommandOf(const RecordedPress& press);
// The press a command line of the program makes, paused `pauseMs` before it; nothing for a line
// that is no keypad command.
std::optional<RecordedPress> PressOfCommand(std::string_view commandLine, std::uint32_t pauseMs);

// What is wrong with a sequence file, for the one box that says so: the line (from 1; 0 for
// the file as a whole) and the words.
struct SequenceError {
    int line = 0;
    std::string what;  // UTF-8

    bool operator==(const SequenceError&) const = default;
};

// A key sequence file, checked whole: one command per line, blank lines and lines that begin
// with "#" left out. `quote` shows a piece of a bad line in the user's words (the file's bytes
// are in the system's code page).
std::variant<std::vector<RecordedPress>, SequenceError> ParseKeySequence(
    std::string_view fileBytes, const std::function<std::string(std::string_view)>& quote);

}  // namespace tastolink
