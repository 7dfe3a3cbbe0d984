#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "phone/keypad_press.h"
#include "shared/wording.h"

namespace tastolink {

// The file's line for a press: "<milliseconds> <keys>" or "<milliseconds> <keys>,<time>".
std::string SequenceLine(const RecordedPress& press);

// What is wrong with a sequence file, for the one box that says so: the line (from 1; 0 for
// the file as a whole) and the words.
struct SequenceError {
    int line = 0;
    std::string what;  // UTF-8

    bool operator==(const SequenceError&) const = default;
};

// A key sequence file, checked whole: one command per line, blank lines and lines that begin
// with "#" left out. The keys are played as written, whatever the phone's profile: any keys
// AT+CKPD takes. `quote` shows a piece of a bad line in the user's words (the file's bytes are
// in the system's code page); the fault is worded in `language`.
std::variant<std::vector<RecordedPress>, SequenceError> ParseKeySequence(
    std::string_view fileBytes, const std::function<std::string(std::string_view)>& quote,
    Language language = Language::Russian);

}  // namespace tastolink
