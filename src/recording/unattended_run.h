#pragma once

#include <string>
#include <variant>
#include <vector>

namespace tastolink {

// A run for a test rig: Tastolink.exe --port COM5 (--play FILE | --type TEXT) [--profile NAME]
// [--exit] opens the port as "Выбрать" would, plays the file or types the text and, with --exit,
// closes when done.
struct UnattendedRun {
    std::string port = {};     // UTF-8, as typed
    std::string file = {};     // --play; empty for --type
    std::string text = {};     // --type; empty for --play
    std::string profile = {};  // the phone profile of this run; empty: the one chosen in the window
    bool exitWhenDone = false;

    bool operator==(const UnattendedRun&) const = default;
};

// What the arguments (UTF-8, the program's name left out) ask for: nothing special for none, an
// unattended run, or why they can't be taken.
struct BadArguments {
    std::string why;  // UTF-8

    bool operator==(const BadArguments&) const = default;
};
std::variant<std::monostate, UnattendedRun, BadArguments> ParseArguments(
    const std::vector<std::string>& arguments);

// The exit codes of an unattended run.
inline constexpr int kEverythingWritten = 0;
inline constexpr int kSomethingNotWritten = 1;  // a write failed, or the port did not open
inline constexpr int kBadFileOrArguments = 2;   // or a text the profile can't type

}  // namespace tastolink
