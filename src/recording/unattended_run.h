#pragma once

#include <string>
#include <variant>
#include <vector>

namespace tastolink {

// A run for a test rig: Tastolink.exe --port COM5 (--play FILE | --type TEXT) [--profile NAME]
// [--exit] opens the port as "Выбрать" would, with the profile's preparation, plays the file or types
// the text and, with --exit, closes when done.
struct UnattendedRun {
    std::string port = {};     // UTF-8, as typed
    std::string file = {};     // --play; empty for --type
    std::string text = {};     // --type; empty for --play
    std::string profile = {};  // the phone profile of this run; empty: the one chosen in the window
    bool exitWhenDone = false;

    bool operator==(const UnattendedRun&) const = default;
};

// Tastolink.exe --port COM5 --identify asks the phone who it is, prints the answer on the standard
// output and ends, with no window.
struct IdentifyCommand {
    std::string port;

    bool operator==(const IdentifyCommand&) const = default;
};

// What the arguments (UTF-8, the program's name left out) ask for: nothing special for none, an
// unattended run, an identification, or why they can't be taken.
struct BadArguments {
    std::string why;  // UTF-8

    bool operator==(const BadArguments&) const = default;
};
using AskedRun = std::variant<std::monostate, UnattendedRun, IdentifyCommand, BadArguments>;
AskedRun ParseArguments(const std::vector<std::string>& arguments);

// The exit codes of an unattended run and of an identification.
inline constexpr int kEverythingWritten = 0;
inline constexpr int kSomethingNotWritten = 1;  // a write failed, the port did not open, the phone was silent
inline constexpr int kBadFileOrArguments = 2;   // or a text the profile can't type

}  // namespace tastolink
